#include "explain.h"

#include <algorithm>
#include <vector>

namespace kestrum::cli {

namespace {

char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string folded(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = fold(c);
    return out;
}

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Where a term's leading non-zero number ends, as the engine reads it ("100km" -> 3); 0 when
// the term does not start with one (then all of it is a name, "0x" included).
std::size_t leadingNumberEnd(std::string_view term) {
    std::size_t i = 0;
    while (i < term.size() && isSpace(term[i])) ++i;
    if (i < term.size() && (term[i] == '+' || term[i] == '-')) ++i;
    bool digits = false, nonZero = false;
    auto digitRun = [&] {
        while (i < term.size() && isDigit(term[i])) {
            digits = true;
            nonZero = nonZero || term[i] != '0';
            ++i;
        }
    };
    digitRun();
    if (i < term.size() && term[i] == '.') {
        ++i;
        digitRun();
    }
    if (!digits || !nonZero) return 0;
    if (i < term.size() && (term[i] == 'e' || term[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < term.size() && (term[j] == '+' || term[j] == '-')) ++j;
        if (j < term.size() && isDigit(term[j])) {
            while (j < term.size() && isDigit(term[j])) ++j;
            i = j;
        }
    }
    return i;
}

// The names an expression mentions, in order: its terms without numbers and exponents.
std::vector<std::string_view> namesIn(std::string_view expression) {
    std::vector<std::string_view> names;
    std::size_t start = 0;
    while (start <= expression.size()) {
        const std::size_t end = std::min(expression.find_first_of("*/()", start), expression.size());
        std::string_view term = expression.substr(start, end - start);
        term = term.substr(0, term.find('^'));
        if (const std::size_t number = leadingNumberEnd(term); number > 0) {
            term.remove_prefix(number);
            while (!term.empty() && isSpace(term.front())) term.remove_prefix(1);
        }
        if (!term.empty()) names.push_back(term);
        start = end + 1;
    }
    return names;
}

bool exists(Engine& engine, std::string_view name, NameKind kind) {
    std::string text;
    switch (kind) {
        case NameKind::Unit: return engine.Unit_Quantity(name, text) != E_UNIT_NOT_FOUND;
        case NameKind::Quantity: return engine.Quantity_Expression(name, text) != E_QUANTITY_NOT_FOUND;
        case NameKind::UnitSystem: {
            std::vector<std::string> systems;
            engine.UnitSystem_Set(systems);
            const std::string key = folded(name);
            return std::any_of(systems.begin(), systems.end(), [&](const auto& s) { return folded(s) == key; });
        }
    }
    return true;
}

// Edit distance with adjacent transpositions, on the case-folded bytes.
std::size_t distance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = fold(a[i - 1]) == fold(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && fold(a[i - 1]) == fold(b[j - 2]) && fold(a[i - 2]) == fold(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

struct Candidate {
    std::string name;                 // what the suggestion shows
    std::vector<std::string> spellings;  // every name it is known by
};

std::vector<Candidate> candidates(Engine& engine, NameKind kind) {
    std::vector<std::string> names;
    std::vector<Candidate> out;
    if (kind == NameKind::Unit) {
        engine.Unit_Set(names);
    } else if (kind == NameKind::Quantity) {
        engine.Quantity_Set(names);
    } else {
        engine.UnitSystem_Set(names);
    }
    for (const auto& name : names) {
        Candidate c{name, {name}};
        std::vector<std::string> synonyms;
        if (kind == NameKind::Unit) engine.Unit_Synonym_Set(name, synonyms);
        if (kind == NameKind::Quantity) engine.Quantity_Synonym_Set(name, synonyms);
        c.spellings.insert(c.spellings.end(), synonyms.begin(), synonyms.end());
        out.push_back(std::move(c));
    }
    return out;
}

std::string joinedAlternatives(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? " or " : ", ";
        text += items[i];
    }
    return text;
}

// What an unknown name probably meant: the units whose symbol it is in another case (a name
// refused because it would fold onto two units), then names a typing slip away.
std::vector<std::string> suggestions(Engine& engine, std::string_view name, NameKind kind) {
    std::vector<std::string> out;
    const std::vector<Candidate> all = candidates(engine, kind);
    if (kind == NameKind::Unit) {
        std::vector<std::pair<bool, std::string>> bySymbol;  // exact case first
        for (const auto& c : all) {
            std::string symbol;
            if (engine.Unit_Symbol(c.name, symbol) != S_OK || symbol.empty()) continue;
            if (folded(symbol) == folded(name)) bySymbol.push_back({symbol != name, c.name + " (" + symbol + ")"});
        }
        std::stable_sort(bySymbol.begin(), bySymbol.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [inexact, text] : bySymbol) out.push_back(std::move(text));
    }
    // Short names are too near too many others to guess from.
    const std::size_t limit = name.size() <= 3 ? 0 : name.size() <= 5 ? 1 : 2;
    if (limit == 0) return out;
    std::vector<std::pair<std::size_t, std::string>> near;
    for (const auto& c : all) {
        std::size_t best = limit + 1;
        std::string spelling;
        for (const auto& s : c.spellings) {
            const std::size_t d = distance(name, s);
            if (d < best || (d == best && s == c.name)) best = d, spelling = s;
        }
        if (best <= limit) near.push_back({best, spelling});
    }
    std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < near.size() && i < 3; ++i) out.push_back(near[i].second);
    return out;
}

Result notFoundCode(NameKind kind) {
    switch (kind) {
        case NameKind::Unit: return E_UNIT_NOT_FOUND;
        case NameKind::Quantity: return E_QUANTITY_NOT_FOUND;
        case NameKind::UnitSystem: return E_UNIT_SYSTEM_NOT_FOUND;
    }
    return E_UNIT_NOT_FOUND;
}

}  // namespace

std::string shown(std::string_view text) {
    const bool plain = !text.empty() && std::none_of(text.begin(), text.end(), isSpace);
    return plain ? std::string(text) : "'" + std::string(text) + "'";
}

std::string explainName(Engine& engine, Result rc, std::string_view name, NameKind kind) {
    std::string text = shown(name) + ": " + ErrorMessage(rc);
    if (rc != notFoundCode(kind)) return text;
    const std::vector<std::string> meant = suggestions(engine, name, kind);
    if (!meant.empty()) text += "; did you mean " + joinedAlternatives(meant) + "?";
    return text;
}

std::string explainExpression(Engine& engine, Result rc, std::string_view expression, NameKind kind) {
    if (rc == notFoundCode(kind)) {
        for (const std::string_view name : namesIn(expression))
            if (!exists(engine, name, kind)) return explainName(engine, rc, name, kind);
    }
    return shown(expression) + ": " + ErrorMessage(rc);
}

}  // namespace kestrum::cli
