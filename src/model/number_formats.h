// Number texts written into files: the model file's quoted number and the "0.000E+" pattern.
#pragma once

#include <string>

namespace tavrine {

// The model file's number text: one leading space for zero and positive values, "-" for
// negative ones; rounded to 15 significant digits with trailing zeros dropped; no zero before
// the decimal point below magnitude 1 (" .5", "-.25"); exponent form ("1E-05", " 1.5E+20")
// outside 1E-05 <= |x| < 1E+15. NaN is written as 0 and ±infinity as ±the largest double, so
// that every text reads back as a finite number.
std::string ModelFileNumber(double value);
// The same text written at `out` without allocating; returns its end. `out` must have room for
// kModelFileNumberMaxChars characters.
inline constexpr int kModelFileNumberMaxChars = 32;
char* WriteModelFileNumber(double value, char* out);

// One digit, ".", `decimals` digits rounded, "E", the exponent's sign and as few exponent
// digits as needed: ExponentForm(1234.6, 3) = "1.235E+3", ExponentForm(-0.00125, 3) =
// "-1.250E-3", ExponentForm(0, 3) = "0.000E+0". Non-finite values as in ModelFileNumber.
std::string ExponentForm(double value, int decimals);

}  // namespace tavrine
