#pragma once
// Unit conversions between the metric internal units and the imperial display units, the
// feet-inch text format, and the adaptation of a number text to the system's decimal separator.
// The pound of force is the standard one, 0.45359237 kg × 9.80665 m/s² = 4.4482216152605 N
// exactly; lengths use 0.3048 m per foot and 0.0254 m per inch. (The model's own self-weight keeps
// its g = 10 m/s²: it is a metric value, and these functions only show and read it.)
#include <string>

#include "base/Types.h"

TReal MPaNaPsi(TReal x);
TReal PsiNaMPa(TReal x);
TReal KNNaLb(TReal x);
TReal LbNaKN(TReal x);
TReal KNmNaLbFt(TReal x);
TReal LbFtNaKNm(TReal x);
// Intensities of distributed loads: kN/m to lb/ft and back.
TReal KNPerMNaLbPerFt(TReal x);
TReal LbPerFtNaKNPerM(TReal x);
TReal LbFt3NaKgM3(TReal x);
TReal KgM3NaLbFt3(TReal x);
TReal In2NaM2(TReal x);
TReal M2NaIn2(TReal x);
TReal In4NaM4(TReal x);
TReal M4NaIn4(TReal x);
TReal M2NaFt2(TReal x);
TReal MmNaIn(TReal x);

// Metres as a feet-inch text: -5'-3.000'' (whole feet as general(18), inches as fixed(18, 3)).
// A separator of '\0' stands for the program's separator (DecimalSeparator()).
std::string MetryNaFtIn(TReal x, char separator = '\0');
// A feet-inch text (5'-3'', 5'3, 5', 63 = inches) as metres; 0.3048 for any text it cannot read.
// Never throws and shows no message. '\0' again stands for the program's separator.
TReal FtInNaMetry(const std::string& text, char separator = '\0');
// The same reading, but false (value untouched) for a text that FtInNaMetry would quietly take as
// one foot, or for a value that is not finite.
bool TryFtInNaMetry(const std::string& text, TReal& value, char separator = '\0');
// A feet-inch text that FtInNaMetry reads back to x: the inches with three decimals when they
// suffice, otherwise with as many more as it takes (for a field filled with a stored value, so
// that confirming it unchanged changes nothing). Feet and inches add with two roundings, so a few
// values have no such text (nor has any value whose inches need more than 18 digits); they get the
// one that reads back closest, within 1e-17 of the value.
std::string MetryNaFtInPresne(TReal x, char separator = '\0');

// The decimal separator of the system's default locale, as the operating system reports it
// (at most 10 characters). Tests and the desktop program replace it.
std::string SystemDecimalSeparator();
void SetSystemDecimalSeparator(const std::string& separator);

// Makes the decimal separator of a number text match the system locale: with "." every "," becomes
// "."; with "," every "." becomes ","; any other separator leaves the text unchanged.
void NormalizujOddelovac(std::string& text);
