#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pontrel {

// The leading-number reading of a text: blanks, tabs and line feeds are skipped wherever they
// stand; an optional sign, digits with at most one "." and an optional exponent are read, "&H" and
// "&O" introduce hexadecimal and octal digits; reading stops at the first character that does not
// fit. No number reads as 0. The result is always finite (it saturates at the largest double).
double leadingNumber(std::string_view text);

// The shortest plain decimal form of a number: no grouping, no exponent, no leading zeros, no plus
// sign, whole numbers without a fraction part ("500", "-5", "0.25").
std::string numberText(double value);

// The number rule of the record fields: numberText(leadingNumber(text)).
std::string numberRuleText(std::string_view text);

// The counter's text: at most 15 significant digits, never an exponent, the given decimal
// separator.
std::string counterText(double value, std::string_view decimalSeparator);

// Rounding to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double value);

// Conversions that saturate at the target's range (NaN gives 0); they round half to even first.
std::int64_t toInt64(double value);
int toInt(double value);
std::int16_t toInt16(double value);

}  // namespace pontrel
