#include <gtest/gtest.h>

#include "base/Cp1250.h"
#include "base/Errors.h"

TEST(Cp1250, CzechLettersMapBothWays) {
    struct Row {
        const char* utf8;
        const char* cp1250;
    };
    const Row rows[] = {
        {"Příčka", "P\xF8\xED\xE8ka"},
        {"ŽLUŤOUČKÝ KŮŇ", "\x8ELU\x8DOU\xC8K\xDD K\xD9\xD2"},
        {"ěščřžýáíéúů", "\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xFA\xF9"},
        {"€ „x“ – ‰", "\x80 \x84x\x93 \x96 \x89"},
        {"ÄÖÜßłŁőű", "\xC4\xD6\xDC\xDF\xB3\xA3\xF5\xFB"},
        {"plain ASCII 0.5", "plain ASCII 0.5"},
        {"", ""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Utf8ToCp1250(r.utf8), r.cp1250) << r.utf8;
        EXPECT_EQ(Cp1250ToUtf8(r.cp1250), r.utf8) << r.utf8;
    }
}

TEST(Cp1250, EveryByteDecodesAndEncodesBackToItself) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    std::string utf8 = Cp1250ToUtf8(all);
    // The undefined bytes become C1 controls, so the text stays distinct and reversible.
    EXPECT_EQ(Cp1250ToUtf8("\x81\x83\x88\x90\x98"), "\xC2\x81\xC2\x83\xC2\x88\xC2\x90\xC2\x98");
    EXPECT_EQ(Utf8ToCp1250(utf8), all);
}

TEST(Cp1250, CharactersOutsideTheCodePageAreRefusedNotMangled) {
    struct Row {
        const char* text;
        const char* bad;
    };
    const Row rows[] = {
        {"IPE ≥ 200", "≥"},                   // U+2265: not in windows-1250
        {"Beton ™ ✓", "✓"},                   // ™ is in the code page, the check mark is not
        {"x²", "²"},                          // superscript two is windows-1252 only
        {"ñandú", "ñ"},                       // Spanish ñ is not in the Central European set
        {"€😀", "😀"},                          // four-byte sequence
        {"bad \xC3", "\xC3"},                 // truncated sequence
        {"bad \xC0\xAF", "\xC0\xAF"},         // overlong form of '/'
        {"bad \xED\xA0\x80", "\xED\xA0\x80"}, // surrogate
        {"bad \xFF", "\xFF"},                 // never a UTF-8 byte
    };
    for (const Row& r : rows) {
        std::string out, bad;
        EXPECT_FALSE(TryUtf8ToCp1250(r.text, out, bad)) << r.text;
        EXPECT_EQ(bad, r.bad) << r.text;
        try {
            Utf8ToCp1250(r.text);
            ADD_FAILURE() << "accepted " << r.text;
        } catch (const TKorvanError& e) {
            EXPECT_NE(std::string(e.what()).find("windows-1250"), std::string::npos);
        }
    }
}
