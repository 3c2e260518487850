// Rendering a unit expression as a symbol: each unit term becomes the unit's symbol (or its
// name when it has none), "*" becomes ".", and the exponents 2 and 3 become superscripts.
#pragma once

#include <kestrum/result.h>

#include <string>
#include <string_view>

namespace kestrum {

class Tables;

class SymbolRenderer {
public:
    explicit SymbolRenderer(const Tables& tables) : m_tables(tables) {}

    // Appends the symbol of text to symbol.
    Result render(std::string_view text, std::string& symbol) const;

private:
    Result renderTerm(std::string_view term, std::string& symbol) const;

    const Tables& m_tables;
};

}  // namespace kestrum
