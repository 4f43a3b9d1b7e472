// Line ends of every kind, files that are not projects, and error messages that quote a bad
// value only in part.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "ProjectFileSupport.h"
#include "base/Errors.h"
#include "model/MKPSpace.h"

using projecttest::Dump;

namespace {
const std::string KPortal = std::string(KORVAN_SOURCE_DIR) + "/examples/portal-frame.inp";

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The text with every CR LF replaced by the given line end.
std::string WithLineEnds(const std::string& text, const std::string& end) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += end;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Read(const std::string& text, TMKPSpace& space) {
    std::istringstream in(text);
    try {
        space.NactiProjekt(in);
    } catch (const TFileFormatError& e) {
        return e.what();
    }
    return {};
}
} // namespace

TEST(ProjectFileRefusal, EveryKindOfLineEndReadsTheSameModel) {
    const std::string original = Slurp(KPortal);
    ASSERT_NE(original.find("\r\n"), std::string::npos);
    TMKPSpace reference;
    ASSERT_EQ(Read(original, reference), "");
    ASSERT_GT(reference.Members.Count(), 0);
    // CR alone, LF alone, a mixture, and CR LF with the last line end missing.
    std::string mixed = WithLineEnds(original, "\r");
    mixed.replace(mixed.find('\r'), 1, "\n");
    mixed.replace(mixed.rfind('\r'), 1, "\r\n");
    const struct {
        const char* Name;
        std::string Text;
    } cases[] = {
        {"CR", WithLineEnds(original, "\r")},
        {"LF", WithLineEnds(original, "\n")},
        {"mixed", mixed},
        {"no last line end", original.substr(0, original.size() - 2)},
    };
    for (const auto& c : cases) {
        TMKPSpace space;
        EXPECT_EQ(Read(c.Text, space), "") << c.Name;
        EXPECT_EQ(Dump(space), Dump(reference)) << c.Name;
    }
    // Line numbers count lone CRs as line ends too.
    TMKPSpace space;
    const std::string bad = "*Nodes\rU\r1\rx\r0\r";
    EXPECT_NE(Read(bad, space).find("řádek 4"), std::string::npos) << Read(bad, space);
    // Two CRs in a row are an empty line between them.
    EXPECT_EQ(Read("*Nodes\r\rU\r1\r0\r0\r\r", space), "");
    EXPECT_EQ(space.Nodes.Count(), 1);
}

TEST(ProjectFileRefusal, FilesThatAreNotProjectsAreRefused) {
    std::mt19937 rng(14);
    std::string binary(4096, '\0');
    for (char& c : binary) c = char(rng());
    // Without any line end or record letter nothing is read from it: only the header check helps.
    std::string noLines = binary;
    for (char& c : noLines)
        if (c == '\r' || c == '\n') c = ' ';
    noLines[0] = '#';
    const struct {
        const char* Name;
        std::string Text;
        bool Refused;
    } cases[] = {
        // Random bytes fail either on a value after a stray record letter or for want of a header.
        {"random bytes", binary, true},
        {"random bytes on one line", noLines, true},
        {"plain text", "Dear reader,\nthis is a letter.\n", true},
        {"a C source", "#include <stdio.h>\nint main() { return 0; }\n", true},
        {"empty file", "", false},
        {"only line ends", "\r\n\r\n\n\r", false},
        {"headers only", "*Materials\r\n*Nodes\r\n", false},
    };
    for (const auto& c : cases) {
        TMKPSpace space;
        space.PridejUzel(1, 5, 5); // the model read before stays when a file is refused
        const std::string error = Read(c.Text, space);
        if (c.Refused) {
            EXPECT_FALSE(error.empty()) << c.Name;
            if (c.Text != binary)
                EXPECT_NE(error.find("není souborem projektu"), std::string::npos) << c.Name << ": " << error;
            EXPECT_EQ(space.Nodes.Count(), 1) << c.Name;
        } else {
            EXPECT_EQ(error, "") << c.Name;
            EXPECT_EQ(space.Nodes.Count(), 0) << c.Name;
        }
    }
}

TEST(ProjectFileRefusal, MessagesQuoteALongValueOnlyInPart) {
    const std::string digits(10'000'000, '7');
    const struct {
        const char* Name;
        std::string Text;
    } cases[] = {
        {"real", "*Nodes\r\nU\r\n1\r\n" + digits + "x\r\n0\r\n"},
        {"integer", "*Nodes\r\nU\r\n" + digits + "\r\n0\r\n0\r\n"},
        {"load kind", "*Nodes\r\nU\r\n1\r\n0\r\n0\r\n*NodalLoads\r\nZU\r\n1\r\nX" + digits + "\r\n"},
        {"not finite", "*Nodes\r\nU\r\n1\r\n1e99999" + digits + "\r\n0\r\n"},
    };
    for (const auto& c : cases) {
        TMKPSpace space;
        const std::string error = Read(c.Text, space);
        EXPECT_FALSE(error.empty()) << c.Name;
        EXPECT_LT(error.size(), 250u) << c.Name << ": " << error.substr(0, 300);
        EXPECT_NE(error.find("7777777777…"), std::string::npos) << c.Name << ": " << error.substr(0, 300);
    }
    // A short value is quoted whole, and never cut inside a character.
    EXPECT_EQ(ShownInMessage("12x"), "12x");
    EXPECT_EQ(ShownInMessage(std::string(59, 'a') + "č"), std::string(59, 'a') + "…");
    EXPECT_EQ(ShownInMessage(std::string(60, 'a')), std::string(60, 'a'));
}
