#pragma once
// Numbers as the frame files and the boxes hold them, and the ways they are
// written back: shortest decimal form, halves-to-even rounding and the
// report's number format.
#include <string>
#include <string_view>

namespace kj {

// Number value of a text: blanks anywhere are ignored; an optional sign,
// digits with an optional decimal point and an optional exponent (E or D)
// are read from the start up to the first character that cannot continue
// the number; a text holding no number gives 0. ".25" gives 0.25, " 20"
// gives 20, "P" gives 0, "" gives 0.
double numberValue(std::string_view text);

// Nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
// Never returns negative zero.
double roundHalfEven(double x);
// Nearest multiple of 0.01, halves to even.
double roundHalfEven2(double x);
// The number value of a text used as a table index or a count: rounded to
// the nearest whole number (halves to even) and clamped into int range.
int indexValue(std::string_view text);
int toIndex(double value);

// Shortest decimal form: at most 15 significant digits, no trailing zeros,
// no decimal point for whole values, a leading zero before the point
// (0.5, -0.25), plain digits for ordinary magnitudes: 1, 2.35, -48.
std::string shortestDecimal(double x);

// x with a fixed number of decimals, rounded halves to even: "0.523".
std::string fixedText(double x, int decimals);

// A number as the calculation report writes it: a blank when zero or
// positive (a minus sign otherwise), the shortest decimal form without the
// zero before the decimal point, then one blank: " .25 ", "-80 ", " 0 ".
std::string reportNumber(double x);

} // namespace kj
