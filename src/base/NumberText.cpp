#include "base/NumberText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#if defined(__GLIBC__)
#include <locale.h>
#endif

#include "base/Errors.h"
#include "base/MessageText.h"

namespace {
char gSeparator = '.';

// Every text is first reduced to at most this many significant decimal digits of the value.
constexpr int KMaxDigits = 18;
// Enough significant digits for every 80-bit value to read back as itself (64 bits: 21).
constexpr int KRoundTripDigits = 21;

// A value as sign, significant digits and decimal exponent: |v| = 0.d1 d2 … dn · 10^Exp.
// Trailing zeros are never kept, so Count == 0 means the value is zero.
struct TDecimal {
    char Digits[KRoundTripDigits + 3];
    int Count = 0;
    int Exp = 0;
    bool Negative = false;

    void StripTrailingZeros() {
        while (Count > 0 && Digits[Count - 1] == '0')
            --Count;
    }
};

// Fills d with `digits` significant digits from the text of std::to_chars(v, scientific, digits - 1):
// "d.ddd…e±x".
void DigitsFromScientific(TReal v, TDecimal& d, int digits = KMaxDigits) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, digits - 1);
    const char* p = buf;
    d.Count = 0;
    for (; p < r.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.Digits[d.Count++] = *p;
    int exp10 = 0;
    if (p < r.ptr) std::from_chars(p + 1 + (p[1] == '+'), r.ptr, exp10);
    d.Exp = exp10 + 1;
    d.StripTrailingZeros();
}

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 TU128;

// The `digits` (at most 21) correctly rounded digits (ties to even, as std::to_chars) of a value
// of about 10^(digits - 39) <= |v| < 10^digits, computed exactly in integer arithmetic:
// |v| = m · 2^k with a 64-bit m and k < 0, and N = m · 10^t · 2^k for the t that puts N in
// [10^(digits - 1), 10^digits). 10^t for t <= 38 is an exact 128-bit integer and m · 10^t an exact
// 192-bit one, so integer part and remainder are exact. Returns false when the value lies outside
// that range (the caller takes the general way). With `rest`, the digits are truncated instead and
// rest tells what was cut off: rest[0] whether it is at least half a unit of the last digit,
// rest[1] whether anything else is.
bool DigitsExact(TReal v, TDecimal& d, int digits = KMaxDigits, bool* rest = nullptr) {
    static_assert(std::numeric_limits<TReal>::digits == 64, "x87 extended layout expected");
    static_assert(std::endian::native == std::endian::little, "x87 extended layout expected");
    static const TU128* const kPow10 = [] {
        static TU128 table[39];
        table[0] = 1;
        for (int i = 1; i < 39; ++i)
            table[i] = table[i - 1] * 10;
        return table;
    }();
    const TU128 kLow = kPow10[digits - 1];
    const TU128 kHigh = kPow10[digits];

    unsigned char raw[sizeof(TReal)];
    std::memcpy(raw, &v, sizeof v);
    std::uint64_t m;
    std::memcpy(&m, raw, 8);
    int biased = (raw[8] | (raw[9] << 8)) & 0x7FFF;
    if (biased == 0 || biased == 0x7FFF || !(m >> 63)) return false; // subnormal, inf/nan, unnormal
    int k = biased - 16383 - 63;
    int e2 = k + 63;                       // 2^e2 <= |v| < 2^(e2 + 1)
    if (k >= 0 || e2 < -200) return false; // outside the range anyway
    // est = floor(e2 · log10 2) (78913 / 2^18 approximates log10 2 closely enough for |e2| < 1650)
    // is floor(log10 |v|) or one less, so N starts at or above 10^(digits - 1) and below
    // 2 · 10^digits.
    int est = (e2 * 78913) >> 18;
    int t = digits - 1 - est;

    for (int attempt = 0; attempt < 2; ++attempt) {
        if (t < 0 || t > 38) return false;
        TU128 p = kPow10[t];
        // 192-bit product m · p as three 64-bit limbs.
        TU128 lo = static_cast<TU128>(m) * static_cast<std::uint64_t>(p);
        TU128 hi = static_cast<TU128>(m) * static_cast<std::uint64_t>(p >> 64);
        TU128 mid = (lo >> 64) + static_cast<std::uint64_t>(hi);
        std::uint64_t w[3] = {static_cast<std::uint64_t>(lo), static_cast<std::uint64_t>(mid),
                              static_cast<std::uint64_t>((hi >> 64) + (mid >> 64))};
        // Integer part N = w >> r (below 10^22, so it fits in 128 bits) and the remainder,
        // compared with one half: `half` is its top bit, `below` whether any lower bit is set.
        int r = -k;
        auto limb = [&](int i) { return i < 3 ? w[i] : std::uint64_t{0}; };
        int q = r / 64, s = r % 64;
        auto bits64 = [&](int i) { return s ? (limb(i) >> s) | (limb(i + 1) << (64 - s)) : limb(i); };
        TU128 n = (static_cast<TU128>(bits64(q + 1)) << 64) | bits64(q);
        int hq = (r - 1) / 64, hs = (r - 1) % 64;
        bool half = (limb(hq) >> hs) & 1;
        bool below = (limb(hq) & ((std::uint64_t{1} << hs) - 1)) != 0;
        for (int j = 0; j < hq; ++j)
            below = below || w[j] != 0;
        if (n >= kHigh) {
            --t;
            continue;
        }
        if (n < kLow) {
            ++t;
            continue;
        }
        if (rest) {
            rest[0] = half;
            rest[1] = below;
        } else if (half && (below || (n & 1))) {
            ++n;
        }
        int exp10 = digits - t;
        if (n == kHigh) {
            n = kLow;
            ++exp10;
        }
        // The digits from the right, two per division; beyond 18 digits in two 64-bit parts.
        auto put = [&d](std::uint64_t value, int last, int count) {
            for (; count >= 2; count -= 2, last -= 2) {
                const unsigned pair = static_cast<unsigned>(value % 100);
                value /= 100;
                d.Digits[last - 1] = static_cast<char>('0' + pair / 10);
                d.Digits[last] = static_cast<char>('0' + pair % 10);
            }
            if (count) d.Digits[last] = static_cast<char>('0' + value % 10);
        };
        if (digits <= 18) {
            put(static_cast<std::uint64_t>(n), digits - 1, digits);
        } else {
            constexpr std::uint64_t kSplit = 1000000000000000000ULL; // 10^18
            put(static_cast<std::uint64_t>(n % kSplit), digits - 1, 18);
            put(static_cast<std::uint64_t>(n / kSplit), digits - 19, digits - 18);
        }
        d.Count = digits;
        d.Exp = exp10;
        d.StripTrailingZeros();
        return true;
    }
    return false;
}
#else
bool DigitsExact(TReal, TDecimal&, int = KMaxDigits, bool* = nullptr) {
    return false;
}
#endif

// Step 1 of every format: the digits of v (at most 18) and its decimal exponent. Zero has no digits.
void Decompose(TReal v, TDecimal& d) {
    d.Negative = std::signbit(v);
    d.Count = 0;
    d.Exp = 0;
    if (v == 0) return;
    if (!DigitsExact(v, d)) DigitsFromScientific(v, d);
}

// Rounds to `keep` significant digits, halves away from zero (the digits are the magnitude, so a
// first dropped digit of 5 or more rounds up). keep <= 0 rounds at or above the first digit: a
// carry makes the value 10^Exp, anything else makes it zero.
void RoundTo(TDecimal& d, int keep) {
    if (keep >= d.Count) return;
    if (keep < 0) {
        d.Count = 0;
        return;
    }
    bool up = d.Digits[keep] >= '5';
    d.Count = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.Digits[i] == '9')
            --i;
        if (i < 0) {
            d.Digits[0] = '1';
            d.Count = 1;
            ++d.Exp;
            return;
        }
        ++d.Digits[i];
        d.Count = i + 1;
    }
    d.StripTrailingZeros();
}

// Rounds digits truncated at `cut` significant digits to `keep` <= cut of them, to the nearest
// and halves to even; rest is what the truncation cut off (as DigitsExact gives it).
void RoundToNearest(TDecimal& d, int keep, int cut, const bool rest[2]) {
    auto digit = [&d](int i) { return i < d.Count ? d.Digits[i] - '0' : 0; };
    bool up;
    if (keep == cut) {
        up = rest[0] && (rest[1] || digit(keep - 1) % 2 == 1);
    } else {
        bool beyond = rest[0] || rest[1]; // anything after the first dropped digit
        for (int i = keep + 1; i < d.Count && !beyond; ++i)
            beyond = d.Digits[i] != '0';
        const int first = digit(keep);
        up = first > 5 || (first == 5 && (beyond || digit(keep - 1) % 2 == 1));
    }
    if (d.Count > keep) d.Count = keep;
    if (up) {
        // Below the cut every digit up to `keep` is there (zeros included) once a unit is added.
        while (d.Count < keep)
            d.Digits[d.Count++] = '0';
        int i = keep - 1;
        while (i >= 0 && d.Digits[i] == '9')
            --i;
        if (i < 0) {
            d.Digits[0] = '1';
            d.Count = 1;
            ++d.Exp;
            return;
        }
        ++d.Digits[i];
        d.Count = i + 1;
    }
    d.StripTrailingZeros();
}

char* PutUnsigned(char* p, unsigned value, int minDigits) {
    char tmp[12];
    int n = 0;
    do {
        tmp[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value);
    for (; n < minDigits; --minDigits)
        *p++ = '0';
    while (n)
        *p++ = tmp[--n];
    return p;
}

// The exponent form of general: d[.ddd]E[-]x with trailing zeros dropped, exponent without a plus
// sign and with at least minDigits digits.
char* PutGeneralExponent(char* p, const TDecimal& d, char sep, int minDigits) {
    *p++ = d.Digits[0];
    if (d.Count > 1) {
        *p++ = sep;
        std::memcpy(p, d.Digits + 1, static_cast<std::size_t>(d.Count - 1));
        p += d.Count - 1;
    }
    *p++ = 'E';
    int x = d.Exp - 1;
    if (x < 0) *p++ = '-';
    return PutUnsigned(p, static_cast<unsigned>(x < 0 ? -x : x), minDigits);
}

const char* NonFinite(TReal v) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
    return nullptr;
}

int ClampPrecision(int p) {
    return p < 1 ? 1 : (p > KMaxDigits ? KMaxDigits : p);
}

// Writes the rounded digits of d in the layout of general(p) and returns the end.
char* PutGeneralDigits(char* out, const TDecimal& d, int p, char sep) {
    if (d.Negative) *out++ = '-';
    if (d.Exp > p || d.Exp < -3) return PutGeneralExponent(out, d, sep, 0);
    if (d.Exp <= 0) {
        *out++ = '0';
        *out++ = sep;
        for (int i = d.Exp; i < 0; ++i)
            *out++ = '0';
        std::memcpy(out, d.Digits, static_cast<std::size_t>(d.Count));
        return out + d.Count;
    }
    for (int i = 0; i < d.Exp; ++i)
        *out++ = i < d.Count ? d.Digits[i] : '0';
    if (d.Count > d.Exp) {
        *out++ = sep;
        std::memcpy(out, d.Digits + d.Exp, static_cast<std::size_t>(d.Count - d.Exp));
        out += d.Count - d.Exp;
    }
    return out;
}

// Writes general(p) into buf (at least 48 characters) and returns the end.
char* PutGeneral(char* buf, TReal v, int p, char sep) {
    char* out = buf;
    if (v == 0) {
        *out++ = '0';
        return out;
    }
    if (const char* s = NonFinite(v)) {
        std::size_t n = std::strlen(s);
        std::memcpy(out, s, n);
        return out + n;
    }
    p = ClampPrecision(p);
    TDecimal d;
    Decompose(v, d);
    RoundTo(d, p);
    return PutGeneralDigits(out, d, p, sep);
}

// Whether the text [first, last) of the digits d reads back as v. Up to 19 digits N over or times
// 10^s with |s| <= 27 are two exact 80-bit values, and their one correctly rounded quotient or
// product is the value the conversion gives; other texts are converted.
bool ReadsBack(const TDecimal& d, const char* first, const char* last, TReal v, char sep) {
    static const TReal* const kPow10 = [] {
        static TReal table[28];
        table[0] = 1;
        for (int i = 1; i < 28; ++i)
            table[i] = table[i - 1] * 10;
        return table;
    }();
    const int scale = d.Exp - d.Count;
    if (d.Count <= 19 && scale >= -27 && scale <= 27) {
        std::uint64_t n = 0;
        for (int i = 0; i < d.Count; ++i)
            n = n * 10 + std::uint64_t(d.Digits[i] - '0');
        const TReal back = scale < 0 ? TReal(n) / kPow10[-scale] : TReal(n) * kPow10[scale];
        return (d.Negative ? -back : back) == v;
    }
    TReal back;
    return TryStrToFloat(std::string(first, last), back, sep) && back == v;
}

// The minimum number of exponent digits for a second parameter d: d itself for 1 to 4, else none.
int ExponentDigits(int d) {
    return d >= 1 && d <= 4 ? d : 0;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads a real whose syntax has been checked; `clean` is sign, digits, '.', 'e' and exponent only.
bool ConvertClean(const char* first, const char* last, TReal& value, bool tiny) {
    TReal v;
    auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec == std::errc() && r.ptr == last) {
        value = v;
        return true;
    }
    if (r.ec != std::errc::result_out_of_range || !tiny) return false;
        // Below the normal range: the nearest extended value is a subnormal or zero.
#if defined(__GLIBC__)
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (cLocale) {
        std::string s(first, last);
        value = strtold_l(s.c_str(), nullptr, cLocale);
        return true;
    }
#endif
    value = *first == '-' ? -0.0L : 0.0L;
    return true;
}
} // namespace

char DecimalSeparator() {
    return gSeparator;
}
void SetDecimalSeparator(char separator) {
    gSeparator = separator;
}

void AppendGeneral(std::string& out, TReal v, int p, char separator) {
    char buf[64];
    char* end = PutGeneral(buf, v, p, separator);
    out.append(buf, static_cast<std::size_t>(end - buf));
}

std::string FormatGeneral(TReal v, int p, char separator) {
    char buf[64];
    char* end = PutGeneral(buf, v, p, separator);
    return std::string(buf, end);
}

std::string FormatRoundTrip(TReal v, char separator) {
    char buf[64];
    if (v == 0 || !std::isfinite(v)) return std::string(buf, PutGeneral(buf, v, 15, separator));
    TDecimal d;
    Decompose(v, d);
    RoundTo(d, 15);
    char* end = PutGeneralDigits(buf, d, 15, separator);
    if (ReadsBack(d, buf, end, v, separator)) return std::string(buf, end);
    // Else the value correctly rounded to ever more digits, until the text reads back; 21 always do.
    TDecimal truncated;
    bool rest[2];
    const bool exact = DigitsExact(v, truncated, KRoundTripDigits, rest);
    for (int p = 16;; ++p) {
        if (exact) {
            d = truncated;
            RoundToNearest(d, p, KRoundTripDigits, rest);
        } else {
            DigitsFromScientific(v, d, p);
        }
        d.Negative = std::signbit(v);
        end = PutGeneralDigits(buf, d, p, separator);
        if (p == KRoundTripDigits || ReadsBack(d, buf, end, v, separator)) return std::string(buf, end);
    }
}

std::string FormatFixed(TReal v, int p, int d, char separator) {
    if (const char* s = NonFinite(v)) return s;
    p = ClampPrecision(p);
    d = d < 0 ? 0 : (d > KMaxDigits ? KMaxDigits : d);
    TDecimal x;
    Decompose(v, x);
    // At most p significant digits and at most d of them after the separator.
    int keep = x.Exp + d < p ? x.Exp + d : p;
    if (x.Count > 0) RoundTo(x, keep);
    char buf[80];
    char* out = buf;
    if (x.Count > 0 && x.Negative) *out++ = '-';
    if (x.Count > 0 && x.Exp > p) {
        out = PutGeneralExponent(out, x, separator, ExponentDigits(d));
        return std::string(buf, out);
    }
    if (x.Count == 0 || x.Exp <= 0)
        *out++ = '0';
    else
        for (int i = 0; i < x.Exp; ++i)
            *out++ = i < x.Count ? x.Digits[i] : '0';
    if (d > 0) {
        *out++ = separator;
        for (int j = 0; j < d; ++j) {
            int i = x.Exp + j; // index of the j-th decimal among the significant digits
            *out++ = (x.Count > 0 && i >= 0 && i < x.Count) ? x.Digits[i] : '0';
        }
    }
    return std::string(buf, out);
}

std::string FormatExponent(TReal v, int p, int d, char separator) {
    if (const char* s = NonFinite(v)) return s;
    p = ClampPrecision(p);
    TDecimal x;
    Decompose(v, x);
    RoundTo(x, p);
    char buf[64];
    char* out = buf;
    if (x.Count > 0 && x.Negative) *out++ = '-';
    *out++ = x.Count > 0 ? x.Digits[0] : '0';
    if (p > 1) {
        *out++ = separator;
        for (int i = 1; i < p; ++i)
            *out++ = i < x.Count ? x.Digits[i] : '0';
    }
    *out++ = 'E';
    int e = x.Count > 0 ? x.Exp - 1 : 0;
    *out++ = e < 0 ? '-' : '+';
    int minDigits = ExponentDigits(d);
    out = PutUnsigned(out, static_cast<unsigned>(e < 0 ? -e : e), minDigits < 1 ? 1 : minDigits);
    return std::string(buf, out);
}

bool TryStrToFloat(const std::string& text, TReal& value, char separator) {
    std::size_t i = 0, n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    while (n > i && IsBlank(text[n - 1]))
        --n;
    // The cleaned text: sign, mantissa digits with '.', 'e' and the exponent.
    std::string clean;
    clean.reserve(n - i + 2);
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') clean += '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool seenSeparator = false;
    bool nonZero = false;
    // Decimal position of the first non-zero digit relative to the separator, to tell an
    // overflow from an underflow when the value leaves the range.
    long long leadPos = 0, intDigits = 0;
    for (; i < n; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            ++mantissaDigits;
            if (!seenSeparator) ++intDigits;
            if (c != '0' && !nonZero) {
                nonZero = true;
                leadPos = seenSeparator ? -(mantissaDigits - intDigits) : intDigits;
            }
            clean += c;
        } else if (c == separator && !seenSeparator) {
            seenSeparator = true;
            clean += '.';
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    long long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        clean += 'e';
        ++i;
        bool negative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negative = text[i] == '-';
            if (negative) clean += '-';
            ++i;
        }
        std::size_t start = i;
        for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
            clean += text[i];
            if (exponent < 1000000000) exponent = exponent * 10 + (text[i] - '0');
        }
        if (i == start) return false;
        if (negative) exponent = -exponent;
    }
    if (i != n) return false;
    if (!nonZero) {
        value = clean[0] == '-' ? -0.0L : 0.0L;
        return true;
    }
    bool tiny = leadPos + exponent <= 0;
    TReal v = 0.0L;
    if (!ConvertClean(clean.data(), clean.data() + clean.size(), v, tiny)) return false;
    // Beyond the range of a double a value is infinite to everything that shows or draws it.
    if (!(std::fabs(v) <= TReal(std::numeric_limits<double>::max()))) return false;
    value = v;
    return true;
}

std::string ShownInMessage(const std::string& text) {
    constexpr std::size_t KLimit = 60;
    // Line breaks and tabs move no cursor anywhere but to the next line or column; they stay.
    if (text.size() <= KLimit) return EscapeControls(text, true);
    std::size_t cut = KLimit;
    // Never between the bytes of one UTF-8 character.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return EscapeControls(std::string_view(text).substr(0, cut), true) + "…";
}

TReal StrToFloat(const std::string& text, char separator) {
    TReal v;
    if (!TryStrToFloat(text, v, separator))
        throw TNumberError("'" + ShownInMessage(text) + "' is not a valid floating point value", text);
    return v;
}

bool TryStrToInt(const std::string& text, int& value) {
    std::size_t i = 0, n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    while (n > i && IsBlank(text[n - 1]))
        --n;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == n) return false;
    long long v = 0;
    for (; i < n; ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL) return false;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min()) return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(const std::string& text) {
    int v;
    if (!TryStrToInt(text, v))
        throw TNumberError("'" + ShownInMessage(text) + "' is not a valid integer value", text);
    return v;
}
