// Text input rules shared by every dialog and file: numeric value of a text, entry validity,
// rounding to integers, the shortest decimal form, degree–radian conversion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrine {

// 4·atan(1): the one value of π used for every conversion.
double Pi();

// Value of the longest leading decimal number of the text (blanks skipped, optional sign,
// digits with optional decimal point and exponent; "," ends it); 0 when there is none.
double NumericValue(std::string_view text);

// Not empty; first character "1".."9" or "+"; every further character a digit or ",".
bool IsValidIntegerEntry(std::string_view text);
// Empty, or first character a digit, "+", "-" or "."; every further character a digit or ".".
bool IsValidRealEntry(std::string_view text);

// Round half to even; values beyond the type's range saturate, NaN gives 0.
int32_t RoundToInt32(double value);
int16_t RoundToInt16(double value);

// Rounded to 15 significant digits, trailing zeros dropped ("13500", "0.5", "-2.25", "1E+20").
std::string ShortestDecimal(double value);
// The same digits written out without an exponent ("100000000000000000000", "0.00001"), so that
// a decimal-entry field accepts what the program puts into it.
std::string PlainDecimal(double value);

double DegToRad(double degrees);
double RadToDeg(double radians);

}  // namespace tavrine
