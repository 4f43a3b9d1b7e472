#include "units/Prevody.h"

#include <cmath>
#include <locale>
#include <stdexcept>

#include "base/NumberText.h"

// Each formula is evaluated in the order written, with the constants as written. 4.4482216152605
// is the pound of force in newtons, 1.3558179483314004 = 4.4482216152605 × 0.3048 the pound-foot
// in newton-metres, 0.00064516 = 0.0254² the square inch in square metres.
TReal MPaNaPsi(TReal x) {
    return x * 1000000.0L * 0.00064516L / 4.4482216152605L;
}
TReal PsiNaMPa(TReal x) {
    return x * 4.4482216152605L / 0.00064516L / 1000000.0L;
}
TReal KNNaLb(TReal x) {
    return x * 1000.0L / 4.4482216152605L;
}
TReal LbNaKN(TReal x) {
    return x * 4.4482216152605L / 1000.0L;
}
TReal KNmNaLbFt(TReal x) {
    return x * 1000.0L / 1.3558179483314004L;
}
TReal LbFtNaKNm(TReal x) {
    return x * 1.3558179483314004L / 1000.0L;
}
TReal KNPerMNaLbPerFt(TReal x) {
    return x * 1000.0L * 0.3048L / 4.4482216152605L;
}
TReal LbPerFtNaKNPerM(TReal x) {
    return x * 4.4482216152605L / 0.3048L / 1000.0L;
}
TReal LbFt3NaKgM3(TReal x) {
    return x * 0.45359237L / 0.028316846592L;
}
TReal KgM3NaLbFt3(TReal x) {
    return x * 0.3048L * 0.3048L * 0.3048L / 0.45359237L;
}
TReal In2NaM2(TReal x) {
    return x * 0.0254L * 0.0254L;
}
TReal M2NaIn2(TReal x) {
    return x / 0.00064516L;
}
TReal In4NaM4(TReal x) {
    return x * 0.0254L * 0.0254L * 0.0254L * 0.0254L;
}
TReal M4NaIn4(TReal x) {
    return x / 0.0000004162314256L;
}
TReal M2NaFt2(TReal x) {
    return x / 0.09290304L;
}
TReal MmNaIn(TReal x) {
    return x / 0.0254L / 1000.0L;
}

namespace {
std::string gSystemSeparator;
bool gSystemSeparatorSet = false;

char Sep(char separator) {
    return separator ? separator : DecimalSeparator();
}
} // namespace

namespace {
std::string FeetInches(TReal x, int decimals, char sep) {
    std::string sign = x < 0 ? "-" : "";
    TReal f = x / 0.0254L / 12.0L;
    TReal whole = std::trunc(f);
    std::string feet = FormatGeneral(std::fabs(whole), 18, sep);
    std::string inches = FormatFixed(std::fabs(f - whole) * 12.0L, 18, decimals, sep);
    return sign + feet + "'-" + inches + "''";
}
} // namespace

std::string MetryNaFtIn(TReal x, char separator) {
    return FeetInches(x, 3, Sep(separator));
}

std::string MetryNaFtInPresne(TReal x, char separator) {
    const char sep = Sep(separator);
    // Feet × 0.3048 + inches × 0.0254 rounds twice, so a few values have no text that reads back
    // to the last bit; they get the closest one.
    std::string best;
    TReal bestError = 0.0L;
    for (int decimals = 3; decimals <= 18; ++decimals) {
        std::string text = FeetInches(x, decimals, sep);
        const TReal error = std::fabs(FtInNaMetry(text, sep) - x);
        if (best.empty() || error < bestError) {
            best = std::move(text);
            bestError = error;
        }
        if (error == 0.0L) break;
    }
    return best;
}

TReal FtInNaMetry(const std::string& input, char separator) {
    char sep = Sep(separator);
    std::string text = input;
    TReal sign = 1.0L;
    if (!text.empty() && text[0] == '-') {
        sign = -1.0L;
        text.erase(0, 1);
    }
    if (auto p = text.find('-'); p != std::string::npos) text.erase(p, 1);
    if (auto p = text.find("''"); p != std::string::npos) text.erase(p, 2);
    auto foot = text.find('\'');
    TReal value;
    if (foot == std::string::npos) {
        if (!TryStrToFloat(text, value, sep)) return 0.3048L;
        return sign * value * 0.0254L;
    }
    TReal feet, inches = 0.0L;
    if (!TryStrToFloat(text.substr(0, foot), feet, sep)) return 0.3048L;
    std::string rest = text.substr(foot + 1);
    if (!rest.empty() && !TryStrToFloat(rest, inches, sep)) return 0.3048L;
    return sign * feet * 0.3048L + sign * inches * 0.0254L;
}

bool TryFtInNaMetry(const std::string& input, TReal& value, char separator) {
    const char sep = Sep(separator);
    // The steps of FtInNaMetry, each number checked.
    std::string text = input;
    if (!text.empty() && text[0] == '-') text.erase(0, 1);
    if (auto p = text.find('-'); p != std::string::npos) text.erase(p, 1);
    if (auto p = text.find("''"); p != std::string::npos) text.erase(p, 2);
    TReal v = 0.0L;
    const auto foot = text.find('\'');
    if (foot == std::string::npos) {
        if (!TryStrToFloat(text, v, sep)) return false;
    } else {
        if (!TryStrToFloat(text.substr(0, foot), v, sep)) return false;
        const std::string rest = text.substr(foot + 1);
        if (!rest.empty() && !TryStrToFloat(rest, v, sep)) return false;
    }
    const TReal m = FtInNaMetry(input, sep);
    if (!std::isfinite(m)) return false;
    value = m;
    return true;
}

// The system default locale is the one the environment names (LANG, LC_ALL, LC_NUMERIC); it does not
// change while the program runs, so it is asked once. A locale that is not installed counts as ".".
std::string SystemDecimalSeparator() {
    if (gSystemSeparatorSet) return gSystemSeparator;
    static const std::string fromSystem = [] {
        try {
            std::locale loc("");
            return std::string(1, std::use_facet<std::numpunct<char>>(loc).decimal_point());
        } catch (const std::runtime_error&) {
            return std::string(".");
        }
    }();
    return fromSystem;
}

void SetSystemDecimalSeparator(const std::string& separator) {
    gSystemSeparator = separator.substr(0, 10);
    gSystemSeparatorSet = true;
}

void NormalizujOddelovac(std::string& text) {
    std::string sep = SystemDecimalSeparator();
    if (sep == ".") {
        for (char& c : text)
            if (c == ',') c = '.';
    } else if (sep == ",") {
        for (char& c : text)
            if (c == '.') c = ',';
    }
}
