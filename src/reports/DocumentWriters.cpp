#include "reports/DocumentWriters.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "model/Errors.h"

namespace {
// Unicode code points of the windows-1250 bytes 0x80 to 0xFF (0 where the byte is unassigned),
// eight bytes a row.
// clang-format off
constexpr char16_t KCp1250High[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
// clang-format on

constexpr char32_t KReplacement = 0xFFFD;

// Decodes UTF-8; every byte that does not start a well-formed sequence (stray continuation bytes,
// overlong forms, surrogates, values above U+10FFFF, truncated sequences) becomes U+FFFD, so a
// name read from a foreign file can never break the document's structure.
std::u32string DecodeUtf8(const std::string& s) {
    std::u32string out;
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        int len = 0;
        char32_t c = 0;
        char32_t min = 0;
        if ((b & 0xE0) == 0xC0) {
            len = 2;
            c = b & 0x1F;
            min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3;
            c = b & 0x0F;
            min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4;
            c = b & 0x07;
            min = 0x10000;
        }
        bool ok = len > 0 && i + static_cast<std::size_t>(len) <= n;
        for (int k = 1; ok && k < len; ++k) {
            auto cb = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((cb & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (cb & 0x3F);
        }
        if (ok && (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
        if (ok) {
            out.push_back(c);
            i += static_cast<std::size_t>(len);
        } else {
            out.push_back(KReplacement);
            ++i;
        }
    }
    return out;
}

void AppendHex(std::string& out, unsigned char byte) {
    const char* digits = "0123456789abcdef";
    out += "\\'";
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

// \uN takes a signed 16-bit decimal N; code points above U+FFFF go as a UTF-16 surrogate pair.
void AppendUnicode(std::string& out, char32_t c) {
    auto unit = [&out](std::uint16_t u, unsigned char fallback) {
        out += "\\u";
        out += std::to_string(static_cast<std::int16_t>(u));
        if (fallback)
            AppendHex(out, fallback);
        else
            out += '?';
    };
    if (c > 0xFFFF) {
        char32_t v = c - 0x10000;
        unit(static_cast<std::uint16_t>(0xD800 + (v >> 10)), 0);
        unit(static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF)), 0);
    } else {
        unit(static_cast<std::uint16_t>(c), UnicodeToCp1250(c));
    }
}

std::string RtfText(const std::string& text) {
    std::string out;
    for (char32_t c : DecodeUtf8(text)) {
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (c == '\n' || c == '\r') {
            out += "\\line ";
        } else if (c < 0x20 || c == 0x7F) {
            // other control characters have no meaning in a report line
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            AppendUnicode(out, c);
        }
    }
    return out;
}

std::string HtmlText(const std::string& text) {
    std::string out;
    for (char32_t c : DecodeUtf8(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (c < 0x20 && c != '\t') break;
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                out += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ";";
            }
        }
    }
    return out;
}
} // namespace

unsigned char UnicodeToCp1250(char32_t c) {
    if (c < 0x80) return static_cast<unsigned char>(c);
    for (int i = 0; i < 128; ++i)
        if (KCp1250High[i] == c) return static_cast<unsigned char>(0x80 + i);
    return 0;
}

std::string DocumentToText(const TStyledDocument& doc) {
    std::string out;
    for (const TStyledLine& line : doc.Lines()) {
        out += line.Text;
        out += '\n';
    }
    return out;
}

std::string DocumentToRtf(const TStyledDocument& doc) {
    std::string out = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\n";
    out += "\\pard";
    for (const TStyledLine& line : doc.Lines()) {
        out += "\\plain\\f0";
        if (line.Bold) out += "\\b";
        out += "\\fs" + std::to_string(line.Size * 2);
        out += ' '; // ends the control word; a blank at the start of the text is kept after it
        out += RtfText(line.Text);
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}

std::string DocumentToHtml(const TStyledDocument& doc) {
    std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                      HtmlText(doc.Caption()) + "</title></head>\n<body style=\"font-family: Arial\">\n";
    for (const TStyledLine& line : doc.Lines()) {
        out += "<p style=\"margin: 0; white-space: pre; font-size: " + std::to_string(line.Size) +
               "pt; font-weight: " + (line.Bold ? "bold" : "normal") + "\">";
        out += line.Text.empty() ? "&nbsp;" : HtmlText(line.Text);
        out += "</p>\n";
    }
    out += "</body></html>\n";
    return out;
}

void SaveDocumentAsRtf(const TStyledDocument& doc, const std::string& fileName) {
    namespace fs = std::filesystem;
    const std::string text = DocumentToRtf(doc);
    const fs::path target(fileName);
    fs::path temp = target;
    temp += ".tmp~";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw TFileIoError("Soubor nelze vytvořit: " + fileName, fileName);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            throw TFileIoError("Při ukládání se vyskytla chyba. Soubor nebyl uložen.", fileName);
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw TFileIoError("Při ukládání se vyskytla chyba. Soubor nebyl uložen.", fileName);
    }
}
