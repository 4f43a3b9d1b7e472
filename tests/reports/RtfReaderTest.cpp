// Reads the RTF writer's output back with a genuine word processor (LibreOffice headless) and
// checks that the text, the Czech letters, the bold runs and the font sizes survive.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "reports/DocumentWriters.h"

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
    for (auto p = s.find(what); p != std::string::npos; p = s.find(what, p)) s.erase(p, what.size());
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

bool HaveSoffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

// soffice exits 0 even when it cannot load the file, so success is judged by the output file.
fs::path Convert(const fs::path& dir, const fs::path& rtf, const std::string& filter, const std::string& ext) {
    const std::string cmd = "cd '" + dir.string() + "' && soffice -env:UserInstallation=file://" +
                            (dir / "profile").string() + " --headless --convert-to '" + filter +
                            "' --outdir out '" + rtf.filename().string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return dir / "out" / (rtf.stem().string() + "." + ext);
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

    const fs::path txt = Convert(dir, rtf, "txt:Text (encoded):UTF8", "txt");
    ASSERT_TRUE(fs::exists(txt)) << "LibreOffice did not read the RTF document";
    // The text filter writes a byte-order mark and marks kept blanks with U+2006 before them.
    std::string text = Without(Without(ReadFile(txt), "\xEF\xBB\xBF"), "\xE2\x80\x86");
    EXPECT_EQ(text, "VÝSLEDKY VÝPOČTU\n\nSÍLY NA PRUTECH\n    Zatížení: {ř} \\ ů°\n"
                    "Uzel [2]: H=12.500kN natočení: 0.00°\n");

    const fs::path html = Convert(dir, rtf, "html", "html");
    ASSERT_TRUE(fs::exists(html)) << "LibreOffice did not read the RTF document";
    const std::string page = Collapse(ReadFile(html));
    EXPECT_NE(page.find("font-size: 14pt\"><b>VÝSLEDKY VÝPOČTU</b>"), std::string::npos) << page;
    EXPECT_NE(page.find("font-size: 10pt\"><b>SÍLY NA PRUTECH</b>"), std::string::npos) << page;
    EXPECT_NE(page.find("font-size: 8pt\">Uzel [2]: H=12.500kN natočení: 0.00°</font>"), std::string::npos)
        << page;
    EXPECT_NE(page.find("Arial"), std::string::npos);
    fs::remove_all(dir);
}
