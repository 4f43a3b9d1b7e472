// The project and library readers on a file on disk: the whole-file read (one read of the known
// size) and, for a file of a megabyte or more, the huge-page buffer. The input is the file; when
// bits 1 and 2 of its first byte are set, empty lines in front of it make it larger than a
// megabyte (their line end taken from bit 3: CR LF or LF). What follows a successful read is the
// same as in fuzz_project (ProjectChecks.h).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ProjectChecks.h"

namespace {
constexpr std::size_t KLargeFile = std::size_t(1) << 20;

// The one file this process writes its inputs to, in a folder of its own that goes at the end.
std::string gFolder, gPath;

const std::string& InputPath() {
    if (gPath.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        gFolder = std::string(tmp && *tmp ? tmp : "/tmp") + "/korvan-fuzz-XXXXXX";
        if (!mkdtemp(gFolder.data())) fuzz::Finding("no folder for the input file");
        gPath = gFolder + "/input.inp";
        std::atexit([] {
            unlink(gPath.c_str());
            rmdir(gFolder.c_str());
        });
    }
    return gPath;
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
    std::ofstream out(InputPath(), std::ios::binary | std::ios::trunc);
    if (size > 0 && (data[0] & 6) == 6) {
        const std::string end = data[0] & 8 ? "\n" : "\r\n";
        std::string padding;
        padding.reserve(KLargeFile + end.size());
        while (padding.size() + size < KLargeFile)
            padding += end;
        out.write(padding.data(), std::streamsize(padding.size()));
    }
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    if (!out.flush()) fuzz::Finding("the input file cannot be written");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TRecordingDialogs sink;
    TDialogsGuard guard(sink);
    WriteInput(data, size);
    {
        TMKPSpace space;
        space.TraceEnabled = false;
        bool read = true;
        try {
            space.NactiProjekt(InputPath());
        } catch (const TKorvanError&) {
            read = false;
        }
        if (read) fuzz::CheckReadProject(space);
    }
    TMKPSpace library;
    try {
        if (size > 0 && (data[0] & 1))
            library.NactiKnihovnuProfilu(InputPath());
        else
            library.NactiKnihovnuMaterialu(InputPath());
    } catch (const TKorvanError&) {
    }
    return 0;
}
