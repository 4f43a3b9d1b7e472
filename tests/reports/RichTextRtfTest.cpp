// The RTF writer of edited rich text: runs keep their own style, a one-run paragraph is written as
// the report writer writes a line, and an empty paragraph keeps a size.
#include <gtest/gtest.h>

#include "model/MKPSpace.h"
#include "reports/DocumentWriters.h"
#include "reports/Protocol.h"

namespace {
std::string Body(const std::string& rtf) {
    const std::string start = "\\pard";
    const auto p = rtf.find(start);
    return p == std::string::npos ? rtf : rtf.substr(p + start.size());
}

TEST(RichTextRtf, OneRunParagraphsAreTheReportWritersLines) {
    TMKPSpace space;
    TMaterial* m = space.PridejMaterial("Ocel {S235}\\", 210000, 7850);
    space.PridejProfil("IPE ½", m, 0.00538L, 0.0000836L, 0.000006038L);
    TUzel* a = space.PridejUzel(1, 0, 0);
    TUzel* b = space.PridejUzel(2, 3, 4);
    space.PridejPrut(a, b, space.Sections.First(), false, 1, false, true);
    TStyledDocument doc;
    BuildProtocol(space, doc, ',');
    ASSERT_GT(doc.Lines().size(), 8u);
    EXPECT_EQ(RichTextToRtf(DocumentToRichText(doc)), DocumentToRtf(doc));
}

TEST(RichTextRtf, RunsAndParagraphs) {
    struct Row {
        std::vector<TRichParagraph> paragraphs;
        std::string body;
    } const rows[] = {
        {{}, "}\n"},
        {{{TRichRun{"a", true, true, true, 28}, TRichRun{"b", false, false, false, 17}}},
         "\\plain\\f0\\b\\i\\ul\\fs28 a\\plain\\f0\\fs17 b\\par\n}\n"},
        // An empty paragraph without runs keeps the size of the one before.
        {{{TRichRun{"x", false, false, false, 20}}, {}}, "\\plain\\f0\\fs20 x\\par\n\\plain\\f0\\fs20 \\par\n}\n"},
        // A line break inside a paragraph, and a size of zero taking the previous one.
        {{{TRichRun{"1\n2", false, false, false, 0}}}, "\\plain\\f0\\fs16 1\\line 2\\par\n}\n"},
        {{{TRichRun{"č\t{", true, false, false, 16}}}, "\\plain\\f0\\b\\fs16 \\u269\\'e8\\tab \\{\\par\n}\n"},
    };
    for (const Row& r : rows) {
        const std::string rtf = RichTextToRtf(r.paragraphs);
        EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1250", 0), 0u);
        EXPECT_EQ(Body(rtf), r.body);
    }
}
} // namespace
