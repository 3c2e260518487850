// Rendering a unit expression as a symbol: each unit term becomes the unit's symbol (or its
// name when it has none), "*" becomes ".", and the exponents 2 and 3 become superscripts.
#include "database.h"
#include "tokenizer.h"

namespace kestrum {

namespace {

constexpr std::string_view kSuperscriptTwo = "\xC2\xB2";
constexpr std::string_view kSuperscriptThree = "\xC2\xB3";

}  // namespace

Result Database::renderSymbol(std::string_view text, std::string& symbol) const {
    auto renderTerm = [this, &symbol](std::string_view term) -> Result {
        std::string_view name = term;
        std::string_view exponent;
        if (const std::size_t h = term.find('^'); h != std::string_view::npos) {
            if (h + 1 == term.size()) return E_INVALID_EXPRESSION;
            exponent = term.substr(h + 1);
            if (exponent.front() == '0') return E_INVALID_EXPRESSION;
            name = term.substr(0, h);
        }
        // A number against a name ("100km") shows the number as written, then the symbol.
        std::size_t numberEnd = 0;
        const bool number = readLeadingNumber(name, numberEnd) != 0.0;
        std::string_view unitName = name;
        if (number) {
            unitName = name.substr(numberEnd);
            while (!unitName.empty() && unitName.front() == ' ') unitName.remove_prefix(1);
        }
        const auto unit = resolveUnit(unitName);
        if (number && (unitName.empty() || unit == m_units.end())) {
            // A number alone, as written; text after it that names no unit makes it a term
            // that does not convert either.
            if (!unitName.empty() && unitName.find_first_not_of(" \t\n\v\f\r") != std::string_view::npos)
                return E_INVALID_EXPRESSION;
            symbol += name;
        } else if (unit != m_units.end()) {
            if (number) symbol += name.substr(0, numberEnd);
            const std::string& unitSymbol = unit->second->symbol;
            symbol += unitSymbol.empty() ? unitName : std::string_view(unitSymbol);
        } else {
            return E_INVALID_EXPRESSION;  // an unknown unit is reported this way here
        }
        // The whole exponent is shown, so a built "(m^10)" reads m^10, not m^1.
        if (exponent == "2") {
            symbol += kSuperscriptTwo;
        } else if (exponent == "3") {
            symbol += kSuperscriptThree;
        } else if (!exponent.empty()) {
            symbol += '^';
            symbol += exponent;
        }
        return S_OK;
    };

    while (true) {
        const std::size_t p = findAny<'*', '/', '(', ')'>(text);
        if (p == std::string_view::npos) return renderTerm(text);
        const char c = text[p];
        // A ")" that ends the text right after another ")" closes a group nested at the end,
        // as in the built "1/(s^2*(m^11))"; the rest after it is empty, not an empty unit.
        if (p == 0 && c == ')' && text.size() == 1 && !symbol.empty() && symbol.back() == ')') {
            symbol += ')';
            return S_OK;
        }
        if (p > 0) {
            if (const Result rc = renderTerm(text.substr(0, p)); rc != S_OK) return rc;
            if (p + 1 == text.size()) {
                if (c != ')') return E_INVALID_EXPRESSION;
                symbol += ')';
                return S_OK;
            }
        }
        symbol += c == '*' ? '.' : c;
        text.remove_prefix(p + 1);
    }
}

}  // namespace kestrum
