// The random edits themselves: every edit the database has, each with the check that tells a
// success did what it says.
#include "random_edits.h"

#include "text.h"

#include <algorithm>

namespace kestrum::fuzz {

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

std::string check(bool ok, std::string what) { return ok ? std::string() : std::move(what); }

}  // namespace

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
                return check(owner && find(after.quantities, synonym) == owner,
                             "the synonym does not name its quantity");
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
                return check(u && q && u->name == name && u->quantity == q->name && u->factor == 0.0 &&
                                 u->offset == 0.0,
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
            if (const UnitState* u = find(s.units, name)) edit.internalAllowed = m_strays.count(foldCase(u->name)) != 0;
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
            if (const UnitState* u = find(s.units, name)) edit.relinkedUnit = u->name;
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
            const char* operation = offset ? "Unit_ConversionOffset_Replace(" : "Unit_ConversionFactor_Replace(";
            edit.description = operation + quoted(name) + ", " + numberText(value) + ")";
            edit.rc = offset ? e.Unit_ConversionOffset_Replace(name, value)
                             : e.Unit_ConversionFactor_Replace(name, value);
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
