#include "tokenizer.h"

#include "text.h"

#include <cmath>

namespace kestrum {

bool splitNextTerm(std::string_view& text, std::string_view& term) {
    const std::size_t b = findAny<'*', '/', '(', '^'>(text);
    if (b == std::string_view::npos) {
        term = text;
        text = {};
        return true;
    }
    const char c = text[b];
    const bool loneOperator = b == 0 && text.size() == 1;
    if ((c == '*' || c == '/') && !loneOperator) {
        term = text.substr(0, b);
        text = text.substr(b);
        return true;
    }
    if (c == '^' && !loneOperator) {
        if (b + 1 < text.size() && (text[b + 1] == '*' || text[b + 1] == '/')) {
            term = text = {};
            return false;
        }
        // The exponent is an optional sign and every digit after it ("m^-3", "m^12"). Without
        // digits the one character after "^" is taken, and refused as an exponent later.
        std::size_t end = b + 1;
        if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
        const std::size_t digits = end;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
        if (end == digits) end = b + 2 <= text.size() ? b + 2 : text.size();
        term = text.substr(0, end);
        text = text.substr(end);
        return true;
    }
    if (c == '(' && b == 0) {
        int depth = 1;
        for (std::size_t i = 1; i < text.size(); ++i) {
            if (text[i] == '(') {
                ++depth;
            } else if (text[i] == ')' && --depth == 0) {
                term = text.substr(1, i - 1);
                text = text.substr(i + 1);
                return true;
            }
        }
    }
    term = text = {};
    return false;
}

// A name term with an optional exponent: "m", "m^2", "m^-2" or "m^10".
Result splitExponent(std::string_view term, std::string_view& name, std::int64_t& exponent) {
    const std::size_t h = term.find('^');
    name = term;
    exponent = 0;
    if (h == std::string_view::npos) return S_OK;
    if (h + 1 == term.size()) return E_INVALID_EXPRESSION;
    exponent = readLeadingInteger(term.substr(h + 1));
    if (exponent == 0 || exponent > kMaxExponent || exponent < -kMaxExponent) return E_INVALID_EXPRESSION;
    name = term.substr(0, h);
    return S_OK;
}

Result parseTerm(std::string_view term, TermParts& parts) {
    parts = TermParts{};
    // Most terms are names, and a name cannot start a number: skip reading one.
    const char first = term.empty() ? '\0' : term.front();
    const bool mayBeNumber = (first >= '0' && first <= '9') || first == '.' || first == '+' || first == '-' ||
                             first == ' ' || (first >= '\t' && first <= '\r');
    if (!mayBeNumber) return splitExponent(term, parts.name, parts.exponent);
    std::size_t end = 0;
    const double number = readLeadingNumber(term, end);
    if (number == 0.0) return splitExponent(term, parts.name, parts.exponent);
    if (!std::isfinite(number)) return E_INVALID_EXPRESSION;
    parts.number = number;
    parts.numberText = term.substr(0, end);
    std::string_view rest = term.substr(end);
    // White space around a number belongs to the number: "2 *m", "100 km".
    while (!rest.empty() && (rest.front() == ' ' || (rest.front() >= '\t' && rest.front() <= '\r')))
        rest.remove_prefix(1);
    if (rest.empty()) return S_OK;
    if (rest.front() != '^') {
        // A number written against a name multiplies it: "100km" is 100 km.
        if (const Result rc = splitExponent(rest, parts.name, parts.exponent); rc != S_OK) return rc;
        return parts.name.empty() ? E_INVALID_EXPRESSION : S_OK;
    }
    // A number raised to a power is that power. The exponent must be all there is: "10^3m"
    // would otherwise read as 1000 with the metre dropped.
    std::string_view exponentText = rest.substr(1);
    while (!exponentText.empty() && (exponentText.back() == ' ' || exponentText.back() == '\t'))
        exponentText.remove_suffix(1);
    std::size_t i = 0;
    if (i < exponentText.size() && (exponentText[i] == '-' || exponentText[i] == '+')) ++i;
    const std::size_t digits = i;
    while (i < exponentText.size() && exponentText[i] >= '0' && exponentText[i] <= '9') ++i;
    if (i == digits || i != exponentText.size()) return E_INVALID_EXPRESSION;
    const std::int64_t n = readLeadingInteger(exponentText);
    if (n == 0 || n > kMaxExponent || n < -kMaxExponent) return E_INVALID_EXPRESSION;
    const double power = std::pow(number, static_cast<double>(n));
    if (!std::isfinite(power) || power == 0.0) return E_INVALID_EXPRESSION;
    parts.number = power;
    parts.numberText = term;
    return S_OK;
}

}  // namespace kestrum
