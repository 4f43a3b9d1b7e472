// The project models the fuzzer has kept (fuzz/corpus*): every one that reads either computes with
// an equilibrium residual under the bound or is refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/Diagnostics.h"
#include "analysis/ModelCheck.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

namespace fs = std::filesystem;

TEST(CorpusReplay, EveryModelComputesUnderTheBoundOrIsRefused) {
    int models = 0, computed = 0;
    for (const fs::directory_entry& dir : fs::directory_iterator(fs::path(KORVAN_SOURCE_DIR) / "fuzz")) {
        if (!dir.is_directory() || dir.path().filename().string().rfind("corpus", 0) != 0) continue;
        for (const fs::directory_entry& file : fs::directory_iterator(dir.path())) {
            TMKPSpace space;
            space.TraceEnabled = false;
            TRecordingDialogs quiet;
            TDialogsGuard guard(quiet);
            try {
                space.NactiProjekt(file.path().string());
            } catch (const std::exception&) {
                continue; // not a project: the readers' business, not this test's
            }
            if (space.Members.Empty() || !NajdiVaduModelu(space).empty()) continue;
            for (TPrut* m : space.Members) // capped as the fuzz target caps them, so that it stays fast
                if (m->Divisions > 200 || m->Divisions < 1) m->NastavDeleni(10);
            ++models;
            if (space.Vypocet().Result != TSolveResult::Ok) continue;
            ++computed;
            TEquilibrium e;
            ASSERT_TRUE(KontrolaRovnovahy(space, e)) << file.path();
            EXPECT_LE(e.Residual, KResidualLimit) << file.path();
        }
    }
    EXPECT_GE(models, 100);
    EXPECT_GE(computed, 50);
}
