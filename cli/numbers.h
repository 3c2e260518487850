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

// 15 significant digits with trailing zeros dropped: 100 degC in degF prints 212.
std::string formatValue(double value);
// The shortest text that reads back to the same double.
std::string formatExact(double value);

}  // namespace kestrum::cli
