// The line reader of project and library files: line ends, and reals read without the full
// conversion, which must give the same value (to the bit) or the same refusal as the full one.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "base/Errors.h"
#include "base/NumberText.h"
#include "model/ProjectFileLines.h"
#include "model/ProjectFileSupport.h"
#include "units/Prevody.h"

namespace {
using projecttest::TSeparators;

// What the full conversion makes of one line: the value, or the refusal's message.
std::string FullConversion(const std::string& line) {
    std::string normalised = line;
    NormalizujOddelovac(normalised);
    TReal v = 0;
    if (!TryStrToFloat(normalised, v) || !std::isfinite(v)) return "refused";
    char bits[sizeof(TReal)] = {};
    std::memcpy(bits, &v, 10); // the 80 bits of the value, not the padding
    return std::string(bits, 10);
}

std::string ReadByLines(const std::string& line) {
    std::istringstream in(line + "\r\n");
    TValueLines lines(in);
    try {
        TReal v = lines.Real();
        char bits[sizeof(TReal)] = {};
        std::memcpy(bits, &v, 10);
        return std::string(bits, 10);
    } catch (const TFileFormatError&) {
        return "refused";
    }
}
} // namespace

TEST(ProjectFileLines, LineEndsOfEveryKind) {
    struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"\n\r", {"", ""}},
        {"x\r\n\ny", {"x", "", "y"}},
        {"a\n\rb\n\r\n\rc", {"a", "b", "", "c"}}, // LF CR, known by the first line
        {"a\n\r\nb", {"a", "", "b"}},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        TValueLines lines(in);
        std::vector<std::string> got;
        for (std::string line; lines.Next(line);) got.push_back(line);
        EXPECT_EQ(got, c.lines) << c.text;
        EXPECT_EQ(lines.LineNumber(), int(c.lines.size()));
    }
}

// Below and above the size that gets a block of its own, from a stream and from a file.
TEST(ProjectFileLines, LongerStreamsThanOneReadAreReadWhole) {
    for (int count : {100000, 250000}) {
        std::string text;
        for (int i = 0; i < count; ++i) text += std::to_string(i) + "\r\n";
        const std::string path = ::testing::TempDir() + "korvan-lines.txt";
        {
            std::ofstream out(path, std::ios::binary);
            out << text;
        }
        std::istringstream fromText(text);
        std::ifstream fromFile = OpenForReading(path);
        for (std::istream* in : {static_cast<std::istream*>(&fromText), static_cast<std::istream*>(&fromFile)}) {
            TValueLines lines(*in);
            for (int i = 0; i < count; ++i) ASSERT_EQ(lines.Int(), i);
            EXPECT_EQ(lines.Value(), "");
            EXPECT_EQ(lines.LineNumber(), count + 1);
        }
        std::remove(path.c_str());
    }
}

// Every setting of the two separators, texts the writer produces and texts it never does: the
// shortcut for plain decimals gives what the full conversion gives.
TEST(ProjectFileLines, PlainRealsEqualTheFullConversionBitForBit) {
    const char* texts[] = {"0", "-0", "+0", "-0,0", "0.000", "12", "-12", "+7", "0,1", "0.1", "1,5.2", "1..5",
                           "1,", ",5", ".5", "-.5", "-", "+", "", " 1", "1 ", "1e3", "1,5E-2", "0x10", "1,2,3",
                           "210000", "7850", "0,0001", "0.00005", "123456789012345678", "1234567890123456789",
                           "12345678901234567890", "9999999999999999999", "0.000000000000000000000000001",
                           "0.0000000000000000000000000001", "3.141592653589793238", "-2,718281828459045235",
                           "1000000000000000000000000000", "00000000000000000000000000001.5", "0.30000000000000004",
                           "nan", "inf", "1.7976931348623157e308"};
    for (char program : {'.', ','})
        for (const char* system : {".", ",", "'"}) {
            TSeparators guard(program, system);
            for (const char* t : texts)
                EXPECT_EQ(ReadByLines(t), FullConversion(t)) << "'" << t << "' program " << program << " system "
                                                            << system;
        }
}

TEST(ProjectFileLines, RandomDecimalsEqualTheFullConversionBitForBit) {
    std::mt19937_64 rng(15);
    TSeparators guard(',', ",");
    for (int i = 0; i < 20000; ++i) {
        const int digits = int(rng() % 20) + 1, decimals = int(rng() % (digits + 8));
        std::string t = rng() % 2 ? "-" : "";
        std::string number;
        for (int d = 0; d < digits; ++d) number += char('0' + rng() % 10);
        if (decimals >= digits)
            number = "0," + std::string(std::size_t(decimals - digits), '0') + number;
        else if (decimals > 0)
            number.insert(number.size() - std::size_t(decimals), ",");
        t += number;
        ASSERT_EQ(ReadByLines(t), FullConversion(t)) << t;
    }
}
