#include "tokenizer.h"

#include "text.h"

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
        const std::size_t end = b + 2 <= text.size() ? b + 2 : text.size();
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

// A name term with an optional exponent: "m", "m^2", and inside a group "m^-2" or "m^10".
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

}  // namespace kestrum
