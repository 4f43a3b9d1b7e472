#pragma once
// Number texts: the three formats general(p), fixed(p, d) and exponent(p, d), and number reading.
// Independent of the C library's locale: the decimal separator is a parameter of every function
// (by default the program's separator, taken from the user's settings at start).
#include <string>

#include "base/Types.h"

// The program's decimal separator (',' in the Czech setting, '.' in most others).
char DecimalSeparator();
void SetDecimalSeparator(char separator);

// general(p): the shortest text of v rounded to p significant digits (fixed form, or the exponent
// form d.dddE-x when the value has more than p integer digits or is below 0.0001).
std::string FormatGeneral(TReal v, int p, char separator = DecimalSeparator());
// general(p) appended to out without a temporary string (the trace files write millions).
void AppendGeneral(std::string& out, TReal v, int p, char separator = DecimalSeparator());
// general(15) when that text reads back as v (with the same separator); otherwise the general text
// of as few more significant digits as it takes to read back as v (at most 21 for an 80-bit value).
// The project writer's text, so that a saved model opens as the same model. Zero of either sign is
// "0"; values that are not finite as general(15).
std::string FormatRoundTrip(TReal v, char separator = DecimalSeparator());
// fixed(p, d): at most p significant digits and exactly d decimals; exponent form of general(p)
// (exponent of at least d digits) when the value has more than p integer digits.
std::string FormatFixed(TReal v, int p, int d, char separator = DecimalSeparator());
// exponent(p, d): d.ddd with p significant digits, "E", a sign and at least d exponent digits.
std::string FormatExponent(TReal v, int p, int d, char separator = DecimalSeparator());

// Shorthands: general(15) (also the plain real-to-text conversion), fixed-3 = fixed(18, 3),
// fixed-2 = fixed(3, 2).
inline std::string FloatToStr(TReal v, char separator = DecimalSeparator()) {
    return FormatGeneral(v, 15, separator);
}
inline std::string Fixed3(TReal v, char separator = DecimalSeparator()) {
    return FormatFixed(v, 18, 3, separator);
}
inline std::string Fixed2(TReal v, char separator = DecimalSeparator()) {
    return FormatFixed(v, 3, 2, separator);
}

// Non-finite values are written "NAN", "INF" and "-INF" in every format.

// A text as an error message quotes it: at most 60 bytes (never a split UTF-8 character), then
// "…" when it was longer, its control characters but LF and tab escaped (EscapeControls). A file
// line of millions of digits is not echoed whole, and no byte of it reaches a terminal raw.
std::string ShownInMessage(const std::string& text);

// Reads a real: optional blanks, optional sign, digits with at most one separator, optional
// exponent; the nearest extended value (0 or a subnormal below the normal range). A value beyond
// the range of a double (about 1.8E308), which every picture, report and panel would show as
// infinite, is no valid value. Throws TNumberError "'<text>' is not a valid floating point value"
// otherwise (the text as ShownInMessage gives it).
TReal StrToFloat(const std::string& text, char separator = DecimalSeparator());
// The same without throwing; false when the text does not convert (value unchanged).
bool TryStrToFloat(const std::string& text, TReal& value, char separator = DecimalSeparator());
// Reads a decimal integer (optional blanks and sign). Throws TNumberError
// "'<text>' is not a valid integer value" otherwise, also when the value leaves the 32-bit range.
int StrToInt(const std::string& text);
bool TryStrToInt(const std::string& text, int& value);
