#include "symbol.h"

#include "tables.h"
#include "tokenizer.h"

namespace kestrum {

namespace {

constexpr std::string_view kSuperscriptTwo = "\xC2\xB2";
constexpr std::string_view kSuperscriptThree = "\xC2\xB3";

}  // namespace

Result SymbolRenderer::renderTerm(std::string_view term, std::string& symbol) const {
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
    const UnitRecord* const unit = m_tables.findUnit(unitName);
    if (number && (unitName.empty() || !unit)) {
        // A number alone, as written; text after it that names no unit makes it a term
        // that does not convert either.
        if (!unitName.empty() && unitName.find_first_not_of(" \t\n\v\f\r") != std::string_view::npos)
            return E_INVALID_EXPRESSION;
        symbol += name;
    } else if (unit) {
        if (number) symbol += name.substr(0, numberEnd);
        const std::string& unitSymbol = unit->symbol;
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
}

Result SymbolRenderer::render(std::string_view text, std::string& symbol) const {
    while (true) {
        const std::size_t p = findAny<'*', '/', '(', ')'>(text);
        if (p == std::string_view::npos) return renderTerm(text, symbol);
        const char c = text[p];
        // A ")" that ends the text right after another ")" closes a group nested at the end,
        // as in the built "1/(s^2*(m^11))"; the rest after it is empty, not an empty unit.
        if (p == 0 && c == ')' && text.size() == 1 && !symbol.empty() && symbol.back() == ')') {
            symbol += ')';
            return S_OK;
        }
        if (p > 0) {
            if (const Result rc = renderTerm(text.substr(0, p), symbol); rc != S_OK) return rc;
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
