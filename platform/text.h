// Text helpers that never depend on the C locale.
#pragma once
#include <string>

namespace plat {

// "A".."Z" become "a".."z"; every other byte is unchanged.
std::string Lower(const std::string& s);
std::string Upper(const std::string& s);
// Leading white space skipped, optional sign, then decimal digits ("$" hex,
// "%" binary) up to the first other character; no digits gives 0. Saturates
// at the int range.
int ToInt(const std::string& s);
// Decimal number with optional sign, fraction and exponent, read without the
// locale; anything unreadable gives 0.
double ToDouble(const std::string& s);
float ToFloat(const std::string& s);
// Shortest text that reads back to the same float ("0.5", "1.2", "3").
std::string FloatToString(float v);
std::string DoubleToString(double v);
// Saturating float-to-int conversion: truncates toward zero, NaN gives 0.
int TruncToInt(double v);

}  // namespace plat
