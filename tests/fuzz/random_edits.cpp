#include "random_edits.h"

#include "text.h"

#include <cmath>
#include <limits>

namespace kestrum::fuzz {

std::uint64_t Random::next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

namespace {

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

template <class State>
const State* find(const std::vector<State>& items, std::string_view name) {
    const std::string key = foldCase(name);
    for (const auto& item : items) {
        if (foldCase(item.name) == key) return &item;
        if constexpr (!std::is_same_v<State, UnitSystemState>) {
            for (const auto& synonym : item.synonyms)
                if (foldCase(synonym) == key) return &item;
        }
    }
    return nullptr;
}

template <class State>
bool listed(const std::vector<State>& items, std::string_view exactName) {
    for (const auto& item : items)
        if (item.name == exactName) return true;
    return false;
}

template <class State>
std::vector<std::string> namesAndSynonyms(const std::vector<State>& items) {
    std::vector<std::string> out;
    for (const auto& item : items) {
        out.push_back(item.name);
        for (const auto& synonym : item.synonyms) out.push_back(synonym);
    }
    return out;
}

std::string check(bool ok, std::string what) { return ok ? std::string() : std::move(what); }

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
    switch (m_random.below(24)) {
        case 0: return "";
        case 1: return some + "^*" + some;
        case 2: return some + m_random.pick(std::vector<std::string>{"^", "^0", "^10", ")", "*", " / s", "\t", "))"});
        case 3: return m_random.pick(std::vector<std::string>{"(", "*", "((", "1000" + some, "10^3"}) + some;
        case 4: return self + "*2";
        case 5: return "(" + some + "*" + self + ")";
        case 6: {
            std::string text = term();
            const std::size_t target = 440 + m_random.below(61);
            while (true) {
                const std::string next = text + "*" + term();
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

Edit EditMaker::make(Engine& e, const Snapshot& s) {
    const std::size_t roll = m_random.below(100);
    if (roll < 32) return quantityEdit(e, s);
    if (roll < 60) return unitEdit(e, s);
    if (roll < 85) return unitValueEdit(e, s);
    return systemEdit(e, s);
}

Edit EditMaker::quantityEdit(Engine& e, const Snapshot& s) {
    Edit edit;
    // Removals are rarer than additions, so the database grows to a few dozen items.
    switch (m_random.below(8)) {
        case 0:
        case 1: {
            const std::string name = newName("Q", s);
            edit.description = "Quantity_Add(" + quoted(name) + ")";
            edit.rc = e.Quantity_Add(name);
            edit.verify = [name](Engine&, const Snapshot&, const Snapshot& after) {
                const QuantityState* q = find(after.quantities, name);
                return check(q && q->name == name && q->dims == std::vector<std::int16_t>(kBaseDimensions, 0),
                             "the new quantity is not listed as given, dimensionless");
            };
            break;
        }
        case 2: {
            if (m_random.chance(50)) return quantityEdit(e, s);
            const std::string name = existingQuantity(s);
            edit.description = "Quantity_Remove(" + quoted(name) + ")";
            edit.rc = e.Quantity_Remove(name);
            edit.verify = [name](Engine&, const Snapshot& before, const Snapshot& after) {
                return check(!find(after.quantities, name) && after.quantities.size() + 1 == before.quantities.size(),
                             "the quantity is still there");
            };
            break;
        }
        case 3: {
            const std::string name = existingQuantity(s);
            const std::string to = m_random.chance(20) ? anyCase(name) : newName("Q", s);
            edit.description = "Quantity_Rename(" + quoted(name) + ", " + quoted(to) + ")";
            edit.rename = true;
            edit.rc = e.Quantity_Rename(name, to);
            edit.verify = [to](Engine&, const Snapshot& before, const Snapshot& after) {
                return check(listed(after.quantities, to) && after.quantities.size() == before.quantities.size(),
                             "the quantity is not listed under its new name");
            };
            break;
        }
        case 4: {
            const std::string name = existingQuantity(s);
            const std::string synonym = newName("alias", s);
            edit.description = "Quantity_Synonym_Add(" + quoted(name) + ", " + quoted(synonym) + ")";
            edit.rc = e.Quantity_Synonym_Add(name, synonym);
            edit.verify = [name, synonym](Engine&, const Snapshot&, const Snapshot& after) {
                const QuantityState* owner = find(after.quantities, name);
                return check(owner && find(after.quantities, synonym) == owner, "the synonym does not name its quantity");
            };
            break;
        }
        case 5: {
            const std::string name = existingQuantity(s);
            const QuantityState* q = find(s.quantities, name);
            const std::string synonym = q && !q->synonyms.empty() && m_random.chance(80)
                                            ? anyCase(m_random.pick(q->synonyms)) : existingQuantity(s);
            edit.description = "Quantity_Synonym_Remove(" + quoted(name) + ", " + quoted(synonym) + ")";
            edit.rc = e.Quantity_Synonym_Remove(name, synonym);
            edit.verify = [synonym](Engine& e, const Snapshot&, const Snapshot&) {
                std::string expression;
                return check(e.Quantity_Expression(synonym, expression) == E_QUANTITY_NOT_FOUND,
                             "the removed synonym still names a quantity");
            };
            break;
        }
        case 6: {
            const std::string name = existingQuantity(s);
            std::vector<std::int16_t> vector(m_random.below(kBaseDimensions + 1));
            for (auto& v : vector)
                v = m_random.chance(5) ? m_random.pick(std::vector<std::int16_t>{-999, 32767, -32768})
                                       : static_cast<std::int16_t>(static_cast<int>(m_random.below(7)) - 3);
            edit.description = "Quantity_DimVector_Replace(" + quoted(name) + ", " + std::to_string(vector.size()) +
                               " elements)";
            edit.rc = e.Quantity_DimVector_Replace(name, vector);
            edit.verify = [name, vector](Engine&, const Snapshot&, const Snapshot& after) {
                const QuantityState* q = find(after.quantities, name);
                if (!q) return std::string("the quantity is gone");
                // A first exponent of -999 marks a vector still to be worked out: it reads as 0s.
                if (vector.empty() || vector[0] == UNSET_EXPONENT) return std::string();
                return check(std::equal(vector.begin(), vector.end(), q->dims.begin()), "the vector was not replaced");
            };
            break;
        }
        default: {
            const std::string name = existingQuantity(s);
            const QuantityState* q = find(s.quantities, name);
            const std::string expression = quantityExpression(s, q ? q->name : name);
            edit.description = "Quantity_Expression_Replace(" + quoted(name) + ", " + quoted(expression) + ")";
            edit.rc = e.Quantity_Expression_Replace(name, expression);
            edit.verify = [name, expression](Engine&, const Snapshot&, const Snapshot& after) {
                const QuantityState* q = find(after.quantities, name);
                return check(q && q->expression == expression, "the expression was not stored");
            };
        }
    }
    return edit;
}

Edit EditMaker::unitEdit(Engine& e, const Snapshot& s) {
    Edit edit;
    switch (m_random.below(8)) {
        case 0:
        case 1:
        case 2: {
            const std::string name = newName("u", s);
            const std::string quantity = existingQuantity(s);
            edit.description = "Unit_Add(" + quoted(name) + ", " + quoted(quantity) + ")";
            edit.rc = e.Unit_Add(name, quantity);
            edit.verify = [name, quantity](Engine&, const Snapshot& before, const Snapshot& after) {
                const UnitState* u = find(after.units, name);
                const QuantityState* q = find(before.quantities, quantity);
                return check(u && q && u->name == name && u->quantity == q->name && u->factor == 0.0 && u->offset == 0.0,
                             "the new unit is not listed as given, of its quantity, with factor 0");
            };
            break;
        }
        case 3: {
            if (m_random.chance(40)) return unitEdit(e, s);
            const std::string name = existingUnit(s);
            edit.description = "Unit_Remove(" + quoted(name) + ")";
            edit.rc = e.Unit_Remove(name);
            edit.verify = [name](Engine&, const Snapshot& before, const Snapshot& after) {
                return check(!find(after.units, name) && after.units.size() + 1 == before.units.size(),
                             "the unit is still there");
            };
            break;
        }
        case 4:
        case 5: {
            const std::string name = existingUnit(s);
            const std::string to = m_random.chance(20) ? anyCase(name) : newName("u", s);
            edit.description = "Unit_Rename(" + quoted(name) + ", " + quoted(to) + ")";
            edit.rename = true;
            if (const UnitState* u = find(s.units, name)) edit.internalAllowed = m_removed.count(foldCase(u->quantity)) != 0;
            edit.rc = e.Unit_Rename(name, to);
            edit.verify = [to](Engine&, const Snapshot& before, const Snapshot& after) {
                return check(listed(after.units, to) && after.units.size() == before.units.size(),
                             "the unit is not listed under its new name");
            };
            break;
        }
        case 6: {
            const std::string name = existingUnit(s);
            const std::string synonym = newName("alias", s);
            edit.description = "Unit_Synonym_Add(" + quoted(name) + ", " + quoted(synonym) + ")";
            edit.rc = e.Unit_Synonym_Add(name, synonym);
            edit.verify = [name, synonym](Engine&, const Snapshot&, const Snapshot& after) {
                const UnitState* owner = find(after.units, name);
                return check(owner && find(after.units, synonym) == owner, "the synonym does not name its unit");
            };
            break;
        }
        default: {
            const std::string name = existingUnit(s);
            const UnitState* u = find(s.units, name);
            const std::string synonym = u && !u->synonyms.empty() && m_random.chance(80)
                                            ? anyCase(m_random.pick(u->synonyms)) : existingUnit(s);
            edit.description = "Unit_Synonym_Remove(" + quoted(name) + ", " + quoted(synonym) + ")";
            edit.rc = e.Unit_Synonym_Remove(name, synonym);
            edit.verify = [synonym](Engine& e, const Snapshot&, const Snapshot&) {
                std::string expression;
                return check(e.Unit_Expression(synonym, expression) == E_UNIT_NOT_FOUND,
                             "the removed synonym still names a unit");
            };
        }
    }
    return edit;
}

Edit EditMaker::unitValueEdit(Engine& e, const Snapshot& s) {
    Edit edit;
    const std::string name = existingUnit(s);
    switch (m_random.below(6)) {
        case 0: {
            const std::string quantity = existingQuantity(s);
            edit.description = "Unit_Quantity_Replace(" + quoted(name) + ", " + quoted(quantity) + ")";
            edit.rc = e.Unit_Quantity_Replace(name, quantity);
            edit.verify = [name, quantity](Engine&, const Snapshot& before, const Snapshot& after) {
                const UnitState* u = find(after.units, name);
                const QuantityState* q = find(before.quantities, quantity);
                return check(u && q && u->quantity == q->name, "the unit does not have its new quantity");
            };
            break;
        }
        case 1:
        case 2: {
            const bool offset = m_random.chance(40);
            const double value = number(offset);
            edit.description = std::string(offset ? "Unit_ConversionOffset_Replace(" : "Unit_ConversionFactor_Replace(") +
                               quoted(name) + ", " + numberText(value) + ")";
            edit.rc = offset ? e.Unit_ConversionOffset_Replace(name, value) : e.Unit_ConversionFactor_Replace(name, value);
            edit.verify = [name, value, offset](Engine&, const Snapshot&, const Snapshot& after) {
                const UnitState* u = find(after.units, name);
                if (!u) return std::string("the unit is gone");
                // The sentinel given directly reads as a value still to be worked out: 0.
                const double expected = value == UNDEFINED_VALUE ? 0.0 : value;
                return check((offset ? u->offset : u->factor) == expected, "the value was not replaced");
            };
            break;
        }
        case 3:
        case 4: {
            const UnitState* u = find(s.units, name);
            const std::string expression = unitExpression(s, u ? u->name : name);
            edit.description = "Unit_Expression_Replace(" + quoted(name) + ", " + quoted(expression) + ")";
            edit.rc = e.Unit_Expression_Replace(name, expression);
            edit.verify = [name, expression](Engine&, const Snapshot&, const Snapshot& after) {
                const UnitState* u = find(after.units, name);
                return check(u && u->expression == expression, "the expression was not stored");
            };
            break;
        }
        default: {
            const std::string text = symbol();
            edit.description = "Unit_Symbol_Replace(" + quoted(name) + ", " + quoted(text) + ")";
            edit.rc = e.Unit_Symbol_Replace(name, text);
            edit.verify = [name, text](Engine&, const Snapshot&, const Snapshot& after) {
                const UnitState* u = find(after.units, name);
                return check(u && u->symbol == text, "the symbol was not stored");
            };
        }
    }
    return edit;
}

Edit EditMaker::systemEdit(Engine& e, const Snapshot& s) {
    Edit edit;
    switch (m_random.below(7)) {
        case 0: {
            const std::string name = newName("Sys", s);
            edit.description = "UnitSystem_Add(" + quoted(name) + ")";
            edit.rc = e.UnitSystem_Add(name);
            edit.verify = [name](Engine&, const Snapshot&, const Snapshot& after) {
                const UnitSystemState* system = find(after.systems, name);
                bool empty = system != nullptr;
                if (system)
                    for (const auto& entry : system->preferred) empty = empty && entry.second.empty();
                return check(empty && system->name == name, "the new unit system is not listed, or prefers units");
            };
            break;
        }
        case 1: {
            if (m_random.chance(50)) return systemEdit(e, s);
            const std::string name = existingSystem(s);
            edit.description = "UnitSystem_Remove(" + quoted(name) + ")";
            edit.rc = e.UnitSystem_Remove(name);
            edit.verify = [name](Engine&, const Snapshot&, const Snapshot& after) {
                return check(!find(after.systems, name), "the unit system is still there");
            };
            break;
        }
        case 2: {
            const std::string name = existingSystem(s);
            const std::string to = m_random.chance(20) ? anyCase(name) : newName("Sys", s);
            edit.description = "UnitSystem_Rename(" + quoted(name) + ", " + quoted(to) + ")";
            edit.rc = e.UnitSystem_Rename(name, to);
            edit.verify = [to](Engine&, const Snapshot&, const Snapshot& after) {
                return check(listed(after.systems, to), "the unit system is not listed under its new name");
            };
            break;
        }
        default: {
            const std::string system = existingSystem(s);
            const std::string quantity = existingQuantity(s);
            const std::string unit = m_random.chance(10) ? std::string() : existingUnit(s);
            edit.description = "UnitSystem_PrefUnit_Replace(" + quoted(system) + ", " + quoted(quantity) + ", " +
                               quoted(unit) + ")";
            edit.rc = e.UnitSystem_PrefUnit_Replace(system, quantity, unit);
            edit.verify = [system, quantity, unit](Engine&, const Snapshot& before, const Snapshot& after) {
                const UnitSystemState* s = find(after.systems, system);
                const QuantityState* q = find(before.quantities, quantity);
                const UnitState* u = find(before.units, unit);
                if (!s || !q) return std::string("the unit system or the quantity is gone");
                for (const auto& [name, preferred] : s->preferred)
                    if (name == q->name) return check(preferred == (u ? u->name : ""), "the preferred unit is not set");
                return std::string("the unit system has no entry for the quantity");
            };
        }
    }
    return edit;
}

}  // namespace kestrum::fuzz
