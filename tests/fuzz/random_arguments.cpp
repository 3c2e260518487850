// The arguments of random edits: names (existing in any case, synonyms, fresh from a small pool,
// awkward, refused), expressions over existing names, numbers and symbols.
#include "random_edits.h"

#include "text.h"

#include <limits>

namespace kestrum::fuzz {

std::uint64_t Random::next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

namespace {

template <class State>
std::vector<std::string> namesAndSynonyms(const std::vector<State>& items) {
    std::vector<std::string> out;
    for (const auto& item : items) {
        out.push_back(item.name);
        for (const auto& synonym : item.synonyms) out.push_back(synonym);
    }
    return out;
}

// Names that are valid but awkward: markup characters, non-ASCII (two- and four-byte UTF-8),
// exactly 50 UTF-16 units, and spellings that start like numbers but read as 0.
const std::vector<std::string> kTrickyNames = {
    "a&b", "<q>", "x\"y", "it's", "\xC2\xB5m", "\xCE\xA9", "Degr\xC3\xA9", "0x", "e5", "-0", "_", "1e-999",
    std::string(50, 'n'), std::string(49, 'w') + "\xC3\xA9",
    [] { std::string s; for (int i = 0; i < 25; ++i) s += "\xF0\x9D\x94\xAA"; return s; }(),
};

// Names every edit must refuse: empty, separators, a leading number, too long, control
// characters, text that is not UTF-8.
const std::vector<std::string> kRefusedNames = {
    "", " ", "a b", "m.s", "2m", "-3x", "a*b", "(", "x^2", "a/b", std::string(51, 'n'), "a\x01", "a\tb",
    "\xFF", "\xC3", [] { std::string s; for (int i = 0; i < 26; ++i) s += "\xF0\x9D\x94\xAA"; return s; }(),
};

}  // namespace

std::string EditMaker::anyCase(std::string name) {
    if (m_random.chance(30))
        for (char& c : name)
            if (m_random.chance(50)) c = (c >= 'a' && c <= 'z') ? c - 32 : (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return name;
}

// Mostly names from a small pool per kind, so items are added, clash, go and come back.
std::string EditMaker::newName(const char* stem, const Snapshot& s) {
    const std::size_t roll = m_random.below(100);
    if (roll < 12) return m_random.pick(kTrickyNames);
    if (roll < 22) return m_random.pick(kRefusedNames);
    if (roll < 32) {
        std::vector<std::string> taken = namesAndSynonyms(s.units);
        for (auto& name : namesAndSynonyms(s.quantities)) taken.push_back(std::move(name));
        for (const auto& system : s.systems) taken.push_back(system.name);
        if (!taken.empty()) return anyCase(m_random.pick(taken));
    }
    return anyCase(stem + std::to_string(m_random.below(30)));
}

std::string EditMaker::existingUnit(const Snapshot& s) {
    const auto names = namesAndSynonyms(s.units);
    if (names.empty() || m_random.chance(8)) return newName("u", s);
    return anyCase(m_random.pick(names));
}

std::string EditMaker::existingQuantity(const Snapshot& s) {
    const auto names = namesAndSynonyms(s.quantities);
    if (names.empty() || m_random.chance(8)) return newName("Q", s);
    return anyCase(m_random.pick(names));
}

std::string EditMaker::existingSystem(const Snapshot& s) {
    if (s.systems.empty() || m_random.chance(8)) return newName("Sys", s);
    return anyCase(m_random.pick(s.systems).name);
}

// Terms over the given names (in any case), numbers, exponents, groups; sometimes one of the
// known traps, the item itself (a cycle), or a text near the 500-character limit.
std::string EditMaker::expression(const std::vector<std::string>& names, const std::string& self) {
    auto term = [&]() -> std::string {
        const std::string name = names.empty() ? "m" : anyCase(m_random.pick(names));
        switch (m_random.below(10)) {
            case 0: return m_random.pick(std::vector<std::string>{"2", "1000", "0.5", "1e3", "3.5e-2", "0", "1"});
            case 1: return name + (m_random.chance(50) ? "^2" : "^3");
            case 2: return "(" + name + (m_random.chance(50) ? "^-1)" : "^10)");
            case 3: return "(" + name + "*" + (names.empty() ? "m" : m_random.pick(names)) + ")";
            default: return name;
        }
    };
    const std::string some = names.empty() ? "m" : m_random.pick(names);
    switch (m_random.below(25)) {
        case 0: return "";
        case 1: return some + "^*" + some;
        case 2: return some + m_random.pick(std::vector<std::string>{"^", "^0", "^10", ")", "*", " / s", "\t", "))"});
        case 3: return m_random.pick(std::vector<std::string>{"(", "*", "((", "1000" + some, "10^3"}) + some;
        case 4: return self + "*2";
        case 5: return "(" + some + "*" + self + ")";
        case 6:
        case 7: {
            // Near the limit and naming one item over and over, so renaming it to a longer
            // name takes the text past 500 characters.
            std::string text = some;
            const std::size_t target = 440 + m_random.below(61);
            while (true) {
                const std::string next = text + (m_random.chance(80) ? "*" + some : "*" + term());
                if (utf16Length(next) > target) break;
                text = next;
            }
            return text;
        }
        default: {
            std::string text = term();
            const std::size_t terms = m_random.below(5);
            for (std::size_t i = 0; i < terms; ++i) text += (m_random.chance(60) ? "*" : "/") + term();
            return text;
        }
    }
}

std::string EditMaker::unitExpression(const Snapshot& s, const std::string& self) {
    return expression(namesAndSynonyms(s.units), self);
}

std::string EditMaker::quantityExpression(const Snapshot& s, const std::string& self) {
    return expression(namesAndSynonyms(s.quantities), self);
}

double EditMaker::number(bool offset) {
    const std::vector<double> factors = {1, 2, 0.3048, 1.0 / 3, 1055.05585262, 1.0 / 3600, 1e-300, 1e300, 0, -5,
                                         UNDEFINED_VALUE, 5e-324, std::numeric_limits<double>::infinity(),
                                         std::numeric_limits<double>::quiet_NaN()};
    const std::vector<double> offsets = {0, 273.15, -459.67, 32, 1e300, UNDEFINED_VALUE, 255.37222222222223,
                                         std::numeric_limits<double>::quiet_NaN()};
    return m_random.pick(offset ? offsets : factors);
}

std::string EditMaker::symbol() {
    static const std::vector<std::string> symbols = {
        "", "\xC2\xB0" "C", "m\xC2\xB2", "a&b", "<x>", "\"q\"", "x\ty", "l\nb", "r\rc", std::string(50, 's'),
        std::string(51, 's'), "\x01", "\xFF", "kg.m/s\xC2\xB2", " spaced "};
    return m_random.pick(symbols);
}

}  // namespace kestrum::fuzz
