#include "numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>

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

std::string formatValue(double value) {
    if (value == 0.0) value = 0.0;  // no "-0"
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return std::string(buf, res.ptr);
}

std::string formatExact(double value) {
    if (value == 0.0) value = 0.0;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

}  // namespace kestrum::cli
