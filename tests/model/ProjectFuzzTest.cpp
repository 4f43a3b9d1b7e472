// Mutated project files: the reader must never crash or hang, and must leave either the whole
// new model or the old one. Every model it accepts must be writable and read back unchanged.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <typeinfo>

#include "base/Errors.h"
#include "model/MKPSpace.h"
#include "model/ProjectFileSupport.h"

using namespace projecttest;

// Every test starts from a point as both the program's and the system's decimal separator, so the
// results do not depend on the locale the tests run under.
class ProjectFuzz : public ::testing::Test {
    TSeparators mSeparators{'.', "."};
};

namespace {
namespace fs = std::filesystem;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i; (i = text.find("\r\n", start)) != std::string::npos; start = i + 2)
        lines.push_back(text.substr(start, i - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines)
        s += l + "\r\n";
    return s;
}

class TMutator {
public:
    explicit TMutator(unsigned seed) : mRng(seed) {}

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(mRng); }

    std::string Mutate(const std::string& text) {
        std::vector<std::string> lines = SplitLines(text);
        for (int n = Uniform(1, 3); n > 0; --n) {
            if (lines.empty()) lines.push_back("U");
            const auto pick = [&] { return static_cast<std::size_t>(Uniform(0, int(lines.size()) - 1)); };
            switch (Uniform(0, 7)) {
            case 0:
                lines.erase(lines.begin() + long(pick()));
                break;
            case 1:
                std::swap(lines[pick()], lines[pick()]);
                break;
            case 2:
                lines.insert(lines.begin() + long(pick()), lines[pick()]);
                break;
            case 3:
                lines[pick()] = Garbage();
                break;
            case 4:
                lines.insert(lines.begin() + long(pick()), Tag());
                break;
            case 5:
                lines[pick()] = Tag();
                break;
            case 6:
                TweakDigit(lines[pick()]);
                break;
            default:
                lines.resize(pick());
                break;
            }
        }
        std::string out = JoinLines(lines);
        // Sometimes cut the bytes anywhere, also between CR and LF.
        if (Uniform(0, 4) == 0 && !out.empty())
            out.resize(static_cast<std::size_t>(Uniform(0, int(out.size()))));
        return out;
    }

private:
    std::string Garbage() {
        static const char* const texts[] = {"",
                                            "abc",
                                            "-",
                                            "1.2.3",
                                            "1,5",
                                            "0x10",
                                            "1e999",
                                            "-1E-999",
                                            "nan",
                                            "inf",
                                            "+7",
                                            " 3",
                                            "3 ",
                                            "0",
                                            "1",
                                            "2",
                                            "-1",
                                            "99999999999",
                                            "2147483647",
                                            "-2147483648",
                                            "1E5",
                                            "\xC8"
                                            "SN",
                                            "S235",
                                            "IPE 200",
                                            "*Nodes",
                                            "Q",
                                            "M",
                                            "P",
                                            "\t"};
        return texts[Uniform(0, int(std::size(texts)) - 1)];
    }
    std::string Tag() {
        static const char* const tags[] = {"M", "C", "U", "P", "B", "ZP", "ZU", "ZP ", " U", "U   "};
        return tags[Uniform(0, int(std::size(tags)) - 1)];
    }
    void TweakDigit(std::string& line) {
        for (char& c : line)
            if (c >= '0' && c <= '9' && Uniform(0, 2) == 0) c = char('0' + Uniform(0, 9));
    }

    std::mt19937 mRng;
};

// The model invariants every accepted file must give.
void ExpectConsistent(const TMKPSpace& s, const std::string& context) {
    int i = 0;
    for (const TUzel* n : s.Nodes) {
        ++i;
        EXPECT_EQ(n->Number, i) << context;
        EXPECT_EQ(n->DofRot.Code, 3 * i - 2) << context;
        EXPECT_EQ(n->DofW.Code, 3 * i) << context;
    }
    i = 0;
    for (const TPrut* m : s.Members) {
        EXPECT_EQ(m->Number, ++i) << context;
        EXPECT_TRUE(s.Nodes.Contains(m->NodeA) && s.Nodes.Contains(m->NodeB)) << context;
        EXPECT_TRUE(s.Sections.Contains(m->Section)) << context;
        EXPECT_GT(m->Length, 0) << context;
    }
    for (const TProfil* p : s.Sections)
        EXPECT_TRUE(s.Materials.Contains(p->Material)) << context;
}

std::vector<std::string> Seeds() {
    std::vector<std::string> seeds;
    for (const auto& entry : fs::directory_iterator(fs::path(KORVAN_SOURCE_DIR) / "examples"))
        if (entry.path().extension() == ".inp") seeds.push_back(Slurp(entry.path().string()));
    std::mt19937 rng(5);
    for (int i = 0; i < 6; ++i) {
        TMKPSpace s;
        BuildRandomModel(s, rng);
        seeds.push_back(Write(s));
    }
    return seeds;
}
} // namespace

TEST_F(ProjectFuzz, MutatedFilesGiveTheWholeNewModelOrKeepTheOld) {
    const std::vector<std::string> seeds = Seeds();
    ASSERT_GE(seeds.size(), 9u);
    TMutator mutator(20261209);
    int accepted = 0, refused = 0;
    const std::clock_t start = std::clock();
    for (int round = 0; round < 4000; ++round) {
        const char separator = round % 2 ? ',' : '.';
        TSeparators guard(separator, std::string(1, separator));
        const std::string text = mutator.Mutate(seeds[std::size_t(round) % seeds.size()]);
        const std::string context = "round " + std::to_string(round);

        TMKPSpace space;
        std::mt19937 rng{static_cast<unsigned>(round)};
        BuildRandomModel(space, rng);
        const std::string before = Dump(space);
        try {
            Read(space, text);
        } catch (const TFileFormatError& e) {
            ++refused;
            EXPECT_GT(e.Line(), 0) << context << ": " << e.what();
            EXPECT_EQ(Dump(space), before) << context << ": " << e.what();
            continue;
        } catch (const std::exception& e) {
            ADD_FAILURE() << context << ": unexpected " << typeid(e).name() << " " << e.what();
            continue;
        }
        ++accepted;
        TMKPSpace fresh;
        Read(fresh, text);
        EXPECT_EQ(Dump(space), Dump(fresh)) << context;
        ExpectConsistent(space, context);
        // An accepted model writes, and what it writes reads back to the same bytes.
        const std::string written = Write(space);
        TMKPSpace again;
        Read(again, written);
        EXPECT_EQ(Write(again), written) << context;
        if (HasFailure()) break;
    }
    // Processor time, not wall time: the machine may be shared.
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    // Both outcomes must occur, or the mutations test nothing; and no file may take long.
    EXPECT_GT(accepted, 200);
    EXPECT_GT(refused, 200);
    EXPECT_LT(seconds, 60.0);
}
