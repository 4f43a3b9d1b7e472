// Reads the RTF writer's output back with a genuine word processor (LibreOffice headless) and
// checks that the text, the Czech letters, the bold runs and the font sizes survive.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "model/MKPSpace.h"
#include "reports/DocumentWriters.h"
#include "reports/Protocol.h"

namespace {
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Removes every occurrence of `what`.
std::string Without(std::string s, const std::string& what) {
    for (auto p = s.find(what); p != std::string::npos; p = s.find(what, p))
        s.erase(p, what.size());
    return s;
}

// The HTML export breaks long lines; one blank for every run of white space makes it searchable.
std::string Collapse(const std::string& s) {
    std::string out;
    for (char c : s) {
        bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\t';
        if (blank && !out.empty() && out.back() == ' ') continue;
        out += blank ? ' ' : c;
    }
    return out;
}

bool HaveSoffice() {
    return std::system("command -v soffice >/dev/null 2>&1") == 0;
}

// Converts every RTF file of the folder at once (one start of the reader). soffice exits 0 even
// when it cannot load a file, so success is judged by the output files.
void Convert(const fs::path& dir, const std::string& filter) {
    const std::string cmd = "cd '" + dir.string() + "' && soffice -env:UserInstallation=file://" +
                            (dir / "profile").string() + " --headless --convert-to '" + filter +
                            "' --outdir out *.rtf >/dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

std::string PlainText(const fs::path& txt) {
    // The text filter writes a byte-order mark and marks kept blanks with U+2006 before them.
    return Without(Without(ReadFile(txt), "\xEF\xBB\xBF"), "\xE2\x80\x86");
}
} // namespace

TEST(RtfReader, LibreOfficeReadsTextBoldAndSizes) {
    if (!HaveSoffice())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; install libreoffice-writer-nogui "
                        "(scripts/setup.sh) to read the RTF back";
    const fs::path dir = fs::temp_directory_path() / ("korvan-rtf-reader-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);

    TStyledDocument doc;
    doc.SetStyle(true, 14);
    doc.AppendLine("VÝSLEDKY VÝPOČTU");
    doc.AppendLine("");
    doc.SetSize(10);
    doc.AppendLine("SÍLY NA PRUTECH");
    doc.SetStyle(false, 8);
    doc.AppendLine("    Zatížení: {ř} \\ ů°");
    doc.AppendLine("Uzel [2]: H=12.500kN natočení: 0.00°");
    const fs::path rtf = dir / "zprava.rtf";
    SaveDocumentAsRtf(doc, rtf.string());

    // A whole protocol, with its quotes, semicolons and apostrophes, must read back as its text.
    TMKPSpace space;
    space.NactiProjekt(std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp");
    space.NastavSoustavuJednotek(1);
    TStyledDocument protocol;
    BuildProtocol(space, protocol, ',');
    SaveDocumentAsRtf(protocol, (dir / "protokol.rtf").string());

    Convert(dir, "txt:Text (encoded):UTF8");
    ASSERT_TRUE(fs::exists(dir / "out" / "zprava.txt")) << "LibreOffice did not read the RTF document";
    ASSERT_TRUE(fs::exists(dir / "out" / "protokol.txt")) << "LibreOffice did not read the RTF document";
    EXPECT_EQ(PlainText(dir / "out" / "protokol.txt"), DocumentToText(protocol));
    EXPECT_EQ(PlainText(dir / "out" / "zprava.txt"),
              "VÝSLEDKY VÝPOČTU\n\nSÍLY NA PRUTECH\n    Zatížení: {ř} \\ ů°\n"
              "Uzel [2]: H=12.500kN natočení: 0.00°\n");

    fs::remove(dir / "protokol.rtf");
    Convert(dir, "html");
    const fs::path html = dir / "out" / "zprava.html";
    ASSERT_TRUE(fs::exists(html)) << "LibreOffice did not read the RTF document";
    const std::string page = Collapse(ReadFile(html));
    EXPECT_NE(page.find("font-size: 14pt\"><b>VÝSLEDKY VÝPOČTU</b>"), std::string::npos) << page;
    EXPECT_NE(page.find("font-size: 10pt\"><b>SÍLY NA PRUTECH</b>"), std::string::npos) << page;
    EXPECT_NE(page.find("font-size: 8pt\">Uzel [2]: H=12.500kN natočení: 0.00°</font>"), std::string::npos)
        << page;
    EXPECT_NE(page.find("Arial"), std::string::npos);
    fs::remove_all(dir);
}
