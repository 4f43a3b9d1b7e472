#include "reports/DocumentWriters.h"

#include <cstdint>

#include "base/Cp1250.h"
#include "model/AtomicFile.h"

namespace {

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
    char b;
    // The code page's five unassigned bytes stand for no character (the C1 controls).
    if (c >= 0x80 && c < 0xA0) return 0;
    return EncodeCp1250(c, b) ? static_cast<unsigned char>(b) : 0;
}

std::string DocumentToText(const TStyledDocument& doc) {
    std::string out;
    for (const TStyledLine& line : doc.Lines()) {
        out += line.Text;
        out += '\n';
    }
    return out;
}

namespace {
const char* const KRtfHeader = "{\\rtf1\\ansi\\ansicpg1250\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\n";
} // namespace

std::string DocumentToRtf(const TStyledDocument& doc) {
    std::string out = KRtfHeader;
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
    WriteFileAtomically(fileName, DocumentToRtf(doc));
}

std::string RichTextToRtf(const std::vector<TRichParagraph>& paragraphs) {
    std::string out = KRtfHeader;
    out += "\\pard";
    int halfPoints = 16;
    for (const TRichParagraph& paragraph : paragraphs) {
        // An empty paragraph still sets its size, so that an empty line keeps its height.
        const TRichParagraph runs = paragraph.empty() ? TRichParagraph{TRichRun{"", false, false, false, halfPoints}}
                                                      : paragraph;
        for (const TRichRun& run : runs) {
            halfPoints = run.HalfPoints > 0 ? run.HalfPoints : halfPoints;
            out += "\\plain\\f0";
            if (run.Bold) out += "\\b";
            if (run.Italic) out += "\\i";
            if (run.Underline) out += "\\ul";
            out += "\\fs" + std::to_string(halfPoints);
            out += ' ';
            out += RtfText(run.Text);
        }
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}

std::vector<TRichParagraph> DocumentToRichText(const TStyledDocument& doc) {
    std::vector<TRichParagraph> out;
    out.reserve(doc.Lines().size());
    for (const TStyledLine& line : doc.Lines())
        out.push_back({TRichRun{line.Text, line.Bold, false, false, line.Size * 2}});
    return out;
}
