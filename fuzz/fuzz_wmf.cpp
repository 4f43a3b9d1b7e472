// Read a project, compute it, and draw every display mode to a metafile.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "analysis/ModelCheck.h"
#include "base/Errors.h"
#include "canvas/WmfPainter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    TMKPSpace space;
    space.TraceEnabled = false;
    try {
        std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
        space.NactiProjekt(in);
    } catch (const TKorvanError&) {
        return 0;
    }
    if (!NajdiVaduModelu(space).empty()) return 0;
    fuzz::LimitDivisions(space);
    const bool computed = !space.Members.Empty() && space.Vypocet().Result == TSolveResult::Ok;
    if (computed) fuzz::RequireFiniteResults(space);
    space.Width = 400;
    space.Height = 300;
    space.ShowNumbers = true;
    space.SetShowReactions(computed);
    for (std::uint8_t mode = 0; mode < (computed ? 5 : 1); ++mode) {
        space.SetTypZobrazeni(mode);
        space.ShowAll();
        const std::vector<std::uint8_t> bytes = WmfPicture(space);
        if (bytes.size() < 22) fuzz::Finding("an empty metafile");
    }
    return 0;
}
