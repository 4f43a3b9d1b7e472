// Provisional implementation; replaced by the exact digit code.
#include "model/NumberText.h"

#include <charconv>
#include <cstdio>

#include "model/Errors.h"

namespace {
char gSeparator = '.';

std::string WithSeparator(std::string s, char separator) {
    for (char& c : s)
        if (c == '.') c = separator;
    return s;
}
} // namespace

char DecimalSeparator() { return gSeparator; }
void SetDecimalSeparator(char separator) { gSeparator = separator; }

std::string FormatGeneral(TReal v, int p, char separator) {
    char buf[128];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, p);
    return WithSeparator(std::string(buf, r.ptr), separator);
}

std::string FormatFixed(TReal v, int, int d, char separator) {
    char buf[256];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, d);
    return WithSeparator(std::string(buf, r.ptr), separator);
}

std::string FormatExponent(TReal v, int p, int, char separator) {
    char buf[128];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, p - 1);
    return WithSeparator(std::string(buf, r.ptr), separator);
}

bool TryStrToFloat(const std::string& text, TReal& value, char separator) {
    std::string s;
    for (char c : text) s += (c == separator) ? '.' : c;
    std::size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    if (b == std::string::npos) return false;
    s = s.substr(b, e - b + 1);
    if (!s.empty() && s[0] == '+') s.erase(0, 1);
    TReal v;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return false;
    value = v;
    return true;
}

TReal StrToFloat(const std::string& text, char separator) {
    TReal v;
    if (!TryStrToFloat(text, v, separator))
        throw TNumberError("'" + text + "' is not a valid floating point value", text);
    return v;
}

bool TryStrToInt(const std::string& text, int& value) {
    std::size_t b = text.find_first_not_of(' '), e = text.find_last_not_of(' ');
    if (b == std::string::npos) return false;
    std::string s = text.substr(b, e - b + 1);
    if (!s.empty() && s[0] == '+') s.erase(0, 1);
    int v;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size()) return false;
    value = v;
    return true;
}

int StrToInt(const std::string& text) {
    int v;
    if (!TryStrToInt(text, v)) throw TNumberError("'" + text + "' is not a valid integer value", text);
    return v;
}
