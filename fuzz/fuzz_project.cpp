// The project and library readers from a text in memory, with what follows a successful read
// (ProjectChecks.h).
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "ProjectChecks.h"

namespace {
void Project(const std::string& text) {
    TMKPSpace space;
    space.TraceEnabled = false;
    try {
        std::istringstream in(text);
        space.NactiProjekt(in);
    } catch (const TKorvanError&) {
        return; // refused with a message: what a bad file should get
    }
    fuzz::CheckReadProject(space);
}

void Library(const std::string& text, bool sections) {
    TMKPSpace space;
    try {
        std::istringstream in(text);
        if (sections)
            space.NactiKnihovnuProfilu(in);
        else
            space.NactiKnihovnuMaterialu(in);
    } catch (const TKorvanError&) {
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    const std::string text(reinterpret_cast<const char*>(data), size);
    Project(text);
    // The library readers share the line reader; the first byte picks which one also reads it.
    Library(text, size > 0 && (data[0] & 1));
    return 0;
}
