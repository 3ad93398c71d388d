#pragma once
// Numbers as every field, table and file of the program shows them, and reading them back.
// "." is the decimal separator everywhere.
#include <optional>
#include <string>
#include <string_view>

namespace umbrix {

// fixed(p, d): rounded to at most p significant digits and written with exactly d decimals;
// when the integer part needs more than p digits, exponent notation as general(value, p).
// Halves round away from zero (0.125 with two decimals is "0.13"), after the value has been
// rounded to 18 significant digits as the platform's float-to-text conversion does. The
// rounding happens once, to whichever of the two limits keeps fewer digits; the exponent test
// looks at the rounded number (fixed(4, 1) of 9999.96 is "1E4"). A negative value that rounds
// to zero keeps its sign ("-0.0"), as the platform writes it; -0.0 itself is "0.0".
// NaN and infinities are "NAN", "INF" and "-INF". d is limited to 0..40, p to at least 1.
std::string fixed(double value, int precision, int decimals);

// fixed() of a number as it was typed: the digits are the shortest decimal that reads back as the
// same double, so a typed "12.65" shows as "12.7" with one decimal, although its double lies just
// below 12.65 (and its 4-byte float further below). Other numbers round as in fixed().
std::string fixedTyped(double value, int precision, int decimals);

// General format with at most p significant digits: no trailing zeros, no point without
// decimals; exponent notation ("1.5E-7", "1E20") when the integer part needs more than p
// digits or the value is below 1E-5.
std::string general(double value, int precision = 15);

// Exactly d decimals, no significant-digit limit and no exponent (files: obstacle and location
// values); rounded as fixed(), and a negative value that rounds to zero is "-0.00" likewise.
std::string decimals(double value, int d);

// Strict conversion of a whole text: optional blanks around, optional sign, digits with an
// optional decimal point, optional exponent. With acceptComma a "," counts as the point
// (numeric input fields take "25,5" as 25.5). Nothing else converts: no "inf", "nan", hex,
// embedded blanks or trailing characters. Blanks are spaces and tabs. A value too large for a
// double does not convert; one too small to represent reads as zero.
std::optional<double> parseReal(std::string_view text, bool acceptComma = false);
// Strict 32-bit integer: optional blanks around, optional sign, digits.
std::optional<int> parseInt(std::string_view text);

// As above, but a text that does not convert throws ConvertError naming the field and text:
// "\"abc\" is not a valid number (field EditTa)".
double toReal(std::string_view text, std::string_view field, bool acceptComma = true);
int toInt(std::string_view text, std::string_view field);

// The text without the blanks (spaces and tabs) around it.
std::string_view TrimBlanks(std::string_view text);

}  // namespace umbrix
