#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Errors.h"
#include "reports/DocumentWriters.h"
#include "reports/StyledDocument.h"

namespace {
TStyledDocument Sample() {
    TStyledDocument doc;
    doc.SetStyle(true, 14);
    doc.AppendLine("VÝSLEDKY VÝPOČTU");
    doc.AppendLine("");
    doc.SetSize(10);
    doc.AppendLine("REAKCE");
    doc.SetStyle(false, 8);
    doc.AppendLine("Uzel [2]: H=12.500kN natočení: 0.00°");
    doc.AppendLine("    {a\\b}");
    doc.SetCaption("Výsledky výpočtu");
    return doc;
}

std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
} // namespace

TEST(StyledDocument, StyleAppliesToTheLinesThatFollow) {
    TStyledDocument doc = Sample();
    const auto& lines = doc.Lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(lines[0].Bold);
    EXPECT_EQ(lines[0].Size, 14);
    EXPECT_TRUE(lines[1].Bold); // the empty line keeps the heading's style
    EXPECT_EQ(lines[1].Text, "");
    EXPECT_TRUE(lines[2].Bold); // size changed, bold kept
    EXPECT_EQ(lines[2].Size, 10);
    EXPECT_FALSE(lines[3].Bold);
    EXPECT_EQ(lines[3].Size, 8);
    EXPECT_EQ(doc.Caption(), "Výsledky výpočtu");
    doc.Clear();
    EXPECT_TRUE(doc.Lines().empty());
    doc.AppendLine("x"); // clearing keeps the style in force
    EXPECT_FALSE(doc.Lines()[0].Bold);
    EXPECT_EQ(doc.Lines()[0].Size, 8);
}

TEST(DocumentWriters, PlainTextIsOneUtf8LinePerLine) {
    EXPECT_EQ(DocumentToText(Sample()),
              "VÝSLEDKY VÝPOČTU\n\nREAKCE\nUzel [2]: H=12.500kN natočení: 0.00°\n    {a\\b}\n");
    EXPECT_EQ(DocumentToText(TStyledDocument()), "");
}

TEST(DocumentWriters, RtfCarriesFontStylesAndEscapes) {
    const std::string rtf = DocumentToRtf(Sample());
    EXPECT_EQ(
        rtf.rfind("{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}", 0),
        0u);
    // Ý = U+00DD (windows-1250 0xDD), Č = U+010C (0xC8); 14 pt = 28 half-points.
    EXPECT_NE(rtf.find("\\plain\\f0\\b\\fs28 V\\u221\\'ddSLEDKY V\\u221\\'ddPO\\u268\\'c8TU\\par\n"),
              std::string::npos);
    EXPECT_NE(rtf.find("\\plain\\f0\\b\\fs28 \\par\n"), std::string::npos);
    EXPECT_NE(rtf.find("\\plain\\f0\\b\\fs20 REAKCE\\par\n"), std::string::npos);
    // ° = U+00B0 (0xB0), í = U+00ED (0xED); normal lines have no \b.
    EXPECT_NE(
        rtf.find(
            "\\plain\\f0\\fs16 Uzel [2]: H=12.500kN nato\\u269\\'e8en\\u237\\'ed: 0.00\\u176\\'b0\\par\n"),
        std::string::npos);
    // The delimiter blank after \fs16 is followed by the line's own four blanks.
    EXPECT_NE(rtf.find("\\plain\\f0\\fs16     \\{a\\\\b\\}\\par\n"), std::string::npos);
    EXPECT_EQ(rtf.substr(rtf.size() - 2), "}\n");
    for (char c : rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "RTF must stay 7-bit";
}

TEST(DocumentWriters, RtfUnicodeEscapesTable) {
    struct Row {
        const char* text;
        const char* rtf;
    } rows[] = {
        {"ř", "\\u345\\'f8"},                        // Czech letter in windows-1250
        {"Š", "\\u352\\'8a"},                        // upper half, below 0xA0
        {"€", "\\u8364\\'80"},                       // above 0x7FFF would be negative; 8364 is not
        {"\xEF\xBF\xBD", "\\u-3?"},                  // U+FFFD: signed 16-bit, no windows-1250 byte
        {"ж", "\\u1078?"},                           // Cyrillic: not in windows-1250
        {"\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"}, // U+1F600 as a surrogate pair
        {"a\tb", "a\\tab b"},
        {"\xC3", "\\u-3?"},                     // truncated sequence
        {"\xC0\xAF", "\\u-3?\\u-3?"},           // overlong form of '/'
        {"\xED\xA0\x80", "\\u-3?\\u-3?\\u-3?"}, // encoded surrogate
        {"\x80x", "\\u-3?x"},                   // stray continuation byte
    };
    for (const Row& r : rows) {
        TStyledDocument doc;
        doc.AppendLine(r.text);
        const std::string expected = std::string("\\plain\\f0\\fs16 ") + r.rtf + "\\par\n";
        EXPECT_NE(DocumentToRtf(doc).find(expected), std::string::npos) << r.rtf;
    }
}

TEST(DocumentWriters, Cp1250Mapping) {
    EXPECT_EQ(UnicodeToCp1250(U'A'), 'A');
    EXPECT_EQ(UnicodeToCp1250(U'ě'), 0xEC);
    EXPECT_EQ(UnicodeToCp1250(U'Ů'), 0xD9);
    EXPECT_EQ(UnicodeToCp1250(U'ž'), 0x9E);
    EXPECT_EQ(UnicodeToCp1250(U'°'), 0xB0);
    EXPECT_EQ(UnicodeToCp1250(U'ж'), 0);
    EXPECT_EQ(UnicodeToCp1250(0x81), 0); // unassigned byte 0x81 is no code point's byte
}

TEST(DocumentWriters, HtmlKeepsBlanksStylesAndEscapes) {
    const std::string html = DocumentToHtml(Sample());
    EXPECT_NE(html.find("<title>V&#253;sledky v&#253;po&#269;tu</title>"), std::string::npos);
    EXPECT_NE(html.find("font-size: 14pt; font-weight: bold\">V&#221;SLEDKY"), std::string::npos);
    EXPECT_NE(html.find("font-size: 14pt; font-weight: bold\">&nbsp;</p>"), std::string::npos);
    EXPECT_NE(html.find("font-size: 8pt; font-weight: normal\">    {a\\b}</p>"), std::string::npos);
    TStyledDocument doc;
    doc.AppendLine("<b>&\"");
    EXPECT_NE(DocumentToHtml(doc).find(">&lt;b&gt;&amp;&quot;</p>"), std::string::npos);
}

TEST(DocumentWriters, SaveRtfReplacesAtomically) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "korvan-rtf-save";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "zprava.txt"; // any extension still gets rich text
    { std::ofstream(file) << "old"; }
    SaveDocumentAsRtf(Sample(), file.string());
    EXPECT_EQ(ReadFile(file), DocumentToRtf(Sample()));
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir)) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "no temporary file may remain";

    // A folder that does not exist: reported, and nothing is created.
    const fs::path missing = dir / "nic" / "x.rtf";
    EXPECT_THROW(SaveDocumentAsRtf(Sample(), missing.string()), TFileIoError);
    EXPECT_FALSE(fs::exists(missing.parent_path()));

    // The target is a folder: the save fails and the folder stays.
    const fs::path folder = dir / "slozka";
    fs::create_directories(folder / "inside");
    EXPECT_THROW(SaveDocumentAsRtf(Sample(), folder.string()), TFileIoError);
    EXPECT_TRUE(fs::is_directory(folder / "inside"));
    fs::remove_all(dir);
}
