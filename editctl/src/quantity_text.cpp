#include "quantity_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kestrum::editctl {

double RoundValue(double x, unsigned short nDecimals) {
    const unsigned short n = std::min(nDecimals, kMaxPrecision);
    std::int32_t scale = 1;
    double scaled = x;
    // Scaled by tens one at a time, as the control always has, so the same inputs round the same way.
    for (unsigned short i = 0; i < n; ++i) {
        scaled *= 10.0;
        scale *= 10;
    }
    if (!std::isfinite(scaled)) return x;
    double f = std::floor(scaled);
    if (scaled - f > 0.5) f += 1.0;
    return f / scale;
}

FixedDigits fixedDigits(double value, unsigned short decimals) {
    FixedDigits result;
    if (!std::isfinite(value)) return result;
    // A double has at most 309 integer digits; the decimals are capped at kMaxPrecision.
    char buffer[400];
    const unsigned short n = std::min(decimals, kMaxPrecision);
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, int(n));
    if (ec != std::errc()) return result;
    const std::string text(buffer, end);
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);

    if (whole != "0") {
        result.digits = whole + fraction;
        result.decimalPoint = int(whole.size());
    } else {
        const std::size_t firstDigit = fraction.find_first_not_of('0');
        if (firstDigit == std::string::npos) {
            // Zero: as many zero digits as decimals, the point before them.
            result.digits = fraction.empty() ? std::string("0") : fraction;
            result.decimalPoint = fraction.empty() ? 1 : 0;
            return result;
        }
        result.digits = fraction.substr(firstDigit);
        result.decimalPoint = -int(firstDigit);
    }
    result.negative = value < 0;
    return result;
}

QString formatNumber(double value, unsigned short decimals, bool grouped) {
    const unsigned short n = std::min(decimals, kMaxPrecision);
    const FixedDigits fixed = fixedDigits(value, n);
    QString text;
    if (fixed.digits.empty()) return text;
    if (fixed.negative) text += u'-';
    if (fixed.decimalPoint < 0) {
        text += QStringLiteral("0.");
        int k = 0;
        for (int position = fixed.decimalPoint; position <= -1; ++position) {
            text += u'0';
            ++k;
            if (grouped && k % 3 == 0) text += u',';
        }
    }
    const int integerDigits = int(fixed.digits.size()) - int(n);
    for (int i = 0; i < int(fixed.digits.size()); ++i) {
        const int r = integerDigits - i;
        if (grouped && i > 0 && r > 2 && r % 3 == 0) text += u',';
        if (i == fixed.decimalPoint) text += u'.';
        text += QChar(fixed.digits[std::size_t(i)]);
    }
    return text;
}

QString decorate(const QString& number, const QString& symbol, bool symbolAfter) {
    return symbolAfter ? number + u' ' + symbol : symbol + u' ' + number;
}

int plainPosition(QStringView groupedNumber, int numberStart, int position) {
    const qsizetype inNumber = qBound(qsizetype(0), qsizetype(position) - numberStart, groupedNumber.size());
    return int(inNumber - groupedNumber.first(inNumber).count(u','));
}

namespace {

bool isSpace(QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

double parseLeadingNumber(QStringView text) {
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < size && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';

    std::string number;
    int wholeDigits = 0;       // significant digits before the point
    int leadingFractionZeros = 0;
    bool seenNonZero = false;
    bool anyDigit = false;
    while (i < size && isDigit(text[i])) {
        anyDigit = true;
        if (text[i] != u'0') seenNonZero = true;
        if (seenNonZero) ++wholeDigits;
        number += char(text[i++].unicode());
    }
    if (i < size && text[i] == u'.') {
        number += '.';
        ++i;
        while (i < size && isDigit(text[i])) {
            anyDigit = true;
            if (text[i] != u'0') seenNonZero = true;
            else if (!seenNonZero) ++leadingFractionZeros;
            number += char(text[i++].unicode());
        }
    }
    if (!anyDigit) return 0.0;
    long exponent = 0;
    if (i < size && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < size && (text[j] == u'-' || text[j] == u'+')) ++j;
        if (j < size && isDigit(text[j])) {
            const bool negativeExponent = text[j - 1] == u'-';
            number += 'e';
            if (negativeExponent) number += '-';
            while (j < size && isDigit(text[j])) {
                exponent = std::min(exponent * 10 + (text[j].unicode() - u'0'), 100000L);
                number += char(text[j++].unicode());
            }
            if (negativeExponent) exponent = -exponent;
        }
    }

    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: where the first significant digit stands decides which.
        const long magnitude = wholeDigits > 0 ? wholeDigits - 1 + exponent : exponent - leadingFractionZeros - 1;
        value = seenNonZero && magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

}  // namespace kestrum::editctl
