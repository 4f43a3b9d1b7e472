// The calculator's load-case options: listing, generating and saving combinations, and the
// results of a case, a combination and an envelope.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "cli/Calc.h"
#include "model/MKPSpace.h"
#include "base/NumberText.h"

namespace fs = std::filesystem;

namespace {
struct TRun {
    int Code;
    std::string Out, Err;
};

TRun Calc(std::vector<std::string> args) {
    args.insert(args.begin(), {"--decimal-separator", ".", "--no-trace"});
    std::ostringstream out, err;
    const int code = RunCalc(args, out, err);
    return {code, out.str(), err.str()};
}

// The sum of the vertical reactions of a --table output.
double SumV(const std::string& out) {
    std::istringstream in(out);
    double sum = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string node, eq, comp, value;
        if (words >> node >> eq >> comp >> value && comp == "V") sum += std::stod(value);
    }
    return sum;
}

// A portal with a permanent, an imposed and a wind case.
fs::path WritePortal(const fs::path& dir) {
    TMKPSpace s;
    TMaterial* m = s.PridejMaterial("S", 210000, 7850);
    TProfil* p = s.PridejProfil("P", m, 0.01, 1e-4, 1e-4);
    TUzel* a = s.PridejUzel(1, 0, 0);
    TUzel* b = s.PridejUzel(2, 0, 4);
    TUzel* c = s.PridejUzel(3, 6, 4);
    TUzel* d = s.PridejUzel(4, 6, 0);
    a->DofU.Fixed = a->DofW.Fixed = a->DofRot.Fixed = d->DofU.Fixed = d->DofW.Fixed = true;
    s.PridejPrut(a, b, p, false, 1, false, false);
    TPrut* beam = s.PridejPrut(b, c, p, false, 2, false, false);
    s.PridejPrut(c, d, p, false, 3, false, false);
    TZatezovaciStav* g = s.PridejZatezovaciStav("G", TCaseKind::Permanent);
    TZatezovaciStav* q = s.PridejZatezovaciStav("Q", TCaseKind::Variable, TCaseCategory::B);
    TZatezovaciStav* w = s.PridejZatezovaciStav("W", TCaseKind::Variable, TCaseCategory::Wind);
    s.NastavStavZatizeni(*beam->PridejZatizeni(KLoadDistributed, nullptr, 0, 6, 10, 10, 90), g);
    s.NastavStavZatizeni(*beam->PridejZatizeni(KLoadForce, nullptr, 2, 0, 20, 0, 90), q);
    s.NastavStavZatizeni(*b->PridejZatizeni(KLoadForce, nullptr, 8, 0), w);
    s.UlozProjekt((dir / "portal.inp").string());
    return dir / "portal.inp";
}
} // namespace

TEST(CalcCases, ListGenerateSaveAndShowCaseCombinationEnvelope) {
    const fs::path dir = fs::temp_directory_path() / "korvan-calc-cases";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string portal = WritePortal(dir).string();
    const std::string saved = (dir / "generated.inp").string();

    const TRun list = Calc({"--list-cases", portal});
    EXPECT_EQ(list.Code, 0) << list.Err;
    EXPECT_NE(list.Out.find("Q: proměnný, kategorie B"), std::string::npos) << list.Out;
    EXPECT_NE(list.Out.find("MSÚ 1 (MSÚ, 6.10, hlavní Q) = 1.35·G + 1.5·Q + 0.9·W"), std::string::npos) << list.Out;

    ASSERT_EQ(Calc({"--generate-combinations", "--save", saved, portal}).Code, 0);
    EXPECT_NE(Calc({"--list-cases", saved}).Out.find("MSP-K 1 (MSP kvazistálá, 6.16b) = 1·G + 0.3·Q"),
              std::string::npos);

    // The combination's reactions are its cases' reactions with its factors.
    const double g = SumV(Calc({"--case", "G", "--table", saved}).Out);
    const double q = SumV(Calc({"--case", "Q", "--table", saved}).Out);
    const double w = SumV(Calc({"--case", "W", "--table", saved}).Out);
    EXPECT_NEAR(std::fabs(g), 60, 1e-6);
    EXPECT_NEAR(std::fabs(q), 20, 1e-6);
    const TRun combination = Calc({"--combination", "MSÚ 1", "--table", saved});
    ASSERT_EQ(combination.Code, 0) << combination.Err;
    EXPECT_NEAR(SumV(combination.Out), 1.35 * g + 1.5 * q + 0.9 * w, 1e-6);
    const TRun report = Calc({"--combination", "MSÚ 1", "--report", saved});
    EXPECT_NE(report.Out.find("VÝSLEDKY VÝPOČTU\nKombinace: MSÚ 1 = 1.35·G + 1.5·Q + 0.9·W\n"), std::string::npos)
        << report.Out;

    const TRun envelope = Calc({"--envelope", "ULS", "--report", saved});
    ASSERT_EQ(envelope.Code, 0) << envelope.Err;
    EXPECT_NE(envelope.Out.find("OBÁLKA VÝSLEDKŮ"), std::string::npos);
    EXPECT_EQ(envelope.Out.find("MSP-Ch"), std::string::npos) << "serviceability in an ultimate envelope";
    EXPECT_NE(envelope.Out.find("Prut 3"), std::string::npos);
    EXPECT_NE(Calc({"--envelope", "--table", saved}).Out.find("Obálka kombinací: MSÚ 1, MSÚ 2"), std::string::npos);

    const TRun unknown = Calc({"--case", "Nic", saved});
    EXPECT_EQ(unknown.Code, 2);
    EXPECT_NE(unknown.Err.find("nemá zatěžovací stav „Nic“"), std::string::npos) << unknown.Err;
    EXPECT_EQ(Calc({"--envelope", portal}).Code, 2) << "no combinations to envelope";
    fs::remove_all(dir);
}
