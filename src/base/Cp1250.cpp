#include "base/Cp1250.h"

#include <array>
#include <cstdint>

#include "base/Errors.h"

namespace {
// Unicode code points of the bytes 0x80 to 0xFF; the bytes below 0x80 are ASCII.
constexpr std::array<char32_t, 128> KHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence starting at text[i]; advances i. False for a malformed sequence
// (bad lead or continuation byte, overlong form, surrogate, beyond U+10FFFF); i then points past
// the bytes that were examined.
bool NextCodePoint(const std::string& text, std::size_t& i, char32_t& c) {
    auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    std::uint8_t lead = byte(i++);
    if (lead < 0x80) {
        c = lead;
        return true;
    }
    int extra;
    char32_t min;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, min = 0x10000;
    } else {
        return false;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80) return false;
        c = (c << 6) | (byte(i++) & 0x3F);
    }
    return c >= min && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}


} // namespace

bool EncodeCp1250(char32_t c, char& out) {
    if (c < 0x80) {
        out = static_cast<char>(c);
        return true;
    }
    for (std::size_t k = 0; k < KHighHalf.size(); ++k)
        if (KHighHalf[k] == c) {
            out = static_cast<char>(0x80 + k);
            return true;
        }
    return false;
}

std::string Cp1250ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        auto b = static_cast<std::uint8_t>(ch);
        AppendUtf8(out, b < 0x80 ? char32_t(b) : KHighHalf[b - 0x80]);
    }
    return out;
}

bool TryUtf8ToCp1250(const std::string& text, std::string& out, std::string& badChar) {
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t start = i;
        char32_t c = 0;
        char b = 0;
        if (!NextCodePoint(text, i, c) || !EncodeCp1250(c, b)) {
            badChar = text.substr(start, i - start);
            return false;
        }
        out += b;
    }
    return true;
}

std::string Utf8ToCp1250(const std::string& text) {
    std::string out, bad;
    if (!TryUtf8ToCp1250(text, out, bad))
        throw TKorvanError("Text „" + text + "“ obsahuje znak „" + bad +
                           "“, který nelze uložit v kódování windows-1250.");
    return out;
}

std::string Utf8ToCp1250Lossy(const std::string& text, char replacement) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c;
        char b;
        const bool shown = NextCodePoint(text, i, c) && !(c >= 0x80 && c < 0xA0) && EncodeCp1250(c, b);
        out += shown ? b : replacement;
    }
    return out;
}
