// Numbers on the command line: decimal and locale-independent, both ways.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrum::cli {

// The whole text must be one decimal number (sign, digits, fraction, exponent); no hex, inf
// or nan.
bool parseValue(std::string_view text, double& value);
bool parseExponent(std::string_view text, std::int16_t& value);

inline constexpr int kDefaultDigits = 15;
inline constexpr int kMaxDigits = 17;

// value * multiplyBy + add, as a conversion's result prints: at most `digits` significant
// digits, trailing zeros dropped, and never a digit below the result's own accuracy (the
// rounding of the two terms it is the sum of), so a result that is zero within that rounding
// prints as 0 (32 degF in degC). False when the result is not a finite double.
bool formatResult(double value, double multiplyBy, double add, int digits, std::string& text);
// The shortest text that reads back to the same double.
std::string formatExact(double value);

}  // namespace kestrum::cli
