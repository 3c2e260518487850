#include "numbers.h"

#include <cctype>
#include <charconv>
#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrum::cli {

bool parseValue(std::string_view text, double& value) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const std::string_view digits = !text.empty() && text.front() == '-' ? text.substr(1) : text;
    // from_chars would also take "inf" and "nan": a value must start like a number.
    if (digits.empty() || !(std::isdigit(static_cast<unsigned char>(digits.front())) || digits.front() == '.'))
        return false;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool parseExponent(std::string_view text, std::int16_t& value) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int16_t v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return false;
    value = v;
    return true;
}

bool formatResult(double value, double multiplyBy, double add, int digits, std::string& text) {
    const double scaled = value * multiplyBy;
    const double result = scaled + add;
    if (!std::isfinite(scaled) || !std::isfinite(result)) return false;
    // What the result may be off by through rounding alone: about an ulp of the product, whose
    // multiplier is itself a rounded quotient, and two of the add term, a difference of
    // rounded offsets divided by a rounded factor.
    const double error = std::numeric_limits<double>::epsilon() * (std::fabs(scaled) + 2 * std::fabs(add));
    if (result == 0.0 || std::fabs(result) <= error) {
        text = "0";
        return true;
    }
    if (error > 0) {
        const int leading = static_cast<int>(std::floor(std::log10(std::fabs(result))));
        const int lastReliable = static_cast<int>(std::ceil(std::log10(error)));
        digits = std::clamp(leading - lastReliable + 1, 1, digits);
    }
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, result, std::chars_format::general, digits);
    text.assign(buf, res.ptr);
    if (text == "-0") text = "0";
    return true;
}

std::string formatExact(double value) {
    if (value == 0.0) value = 0.0;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

}  // namespace kestrum::cli
