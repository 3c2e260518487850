#include "number_format.h"

#include "text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kestrum {

namespace {

std::string formatWithDigits(double value, int digits) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
    const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const bool negative = sci.front() == '-';
    const std::size_t e = sci.find('e');
    std::string mantissa;  // the significant digits, without sign and point
    for (char c : sci.substr(0, e))
        if (c >= '0' && c <= '9') mantissa += c;
    int exponent = 0;
    const std::string_view expText = sci.substr(e + 1);
    std::from_chars(expText.data() + (expText.front() == '+' ? 1 : 0), expText.data() + expText.size(), exponent);
    const int p = exponent + 1;  // value = 0.d1d2... * 10^p

    auto trimZeros = [](std::string s) {
        while (!s.empty() && s.back() == '0') s.pop_back();
        return s;
    };
    std::string out = negative ? "-" : "";
    if (p >= 0 && p <= digits) {
        if (p == 0) {
            out += "0." + trimZeros(mantissa);
        } else {
            out += mantissa.substr(0, p);
            if (p < digits) out += "." + trimZeros(mantissa.substr(p));
        }
    } else {
        out += mantissa.substr(0, 1) + "." + trimZeros(mantissa.substr(1)) + "e";
        out += exponent < 0 ? '-' : '+';
        std::string magnitude = std::to_string(std::abs(exponent));
        if (magnitude.size() < 3) magnitude.insert(0, 3 - magnitude.size(), '0');
        out += magnitude;
    }
    return out;
}

}  // namespace

std::string formatDatabaseNumber(double value) {
    if (!std::isfinite(value)) return "0.";
    if (value == 0.0) return std::signbit(value) ? "-0." : "0.";
    for (int digits = 8; digits < 17; ++digits) {
        std::string text = formatWithDigits(value, digits);
        if (readLeadingNumber(text) == value) return text;
    }
    return formatWithDigits(value, 17);
}

}  // namespace kestrum
