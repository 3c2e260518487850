// The database's invariants, checked from outside: through the queries and conversions a
// client has, so a fault shows the way a client would meet it.
#include "fuzz_support.h"
#include "text.h"

#include <cmath>
#include <map>

namespace kestrum::fuzz {

namespace {

// Sorted by lower-case key, byte-wise, with no key twice.
bool sortedByKey(const std::vector<std::string>& names) {
    for (std::size_t i = 1; i < names.size(); ++i)
        if (!(foldCase(names[i - 1]) < foldCase(names[i]))) return false;
    return true;
}

template <class State>
std::vector<std::string> namesOf(const std::vector<State>& items) {
    std::vector<std::string> out;
    for (const auto& item : items) out.push_back(item.name);
    return out;
}

class Checker {
public:
    Checker(Engine& e, const Snapshot& s, const InvariantOptions& options) : m_e(e), m_s(s), m_options(options) {}

    std::string run() {
        lists();
        names();
        quantities();
        units();
        systems();
        if (m_options.checkEvaluations) evaluations();
        return m_error;
    }

private:
    void require(bool ok, const std::string& what) {
        if (!ok && m_error.empty()) m_error = what;
    }
    bool failed() const { return !m_error.empty(); }

    void lists() {
        require(sortedByKey(namesOf(m_s.quantities)), "Quantity_Set is not sorted by lower-case key");
        require(sortedByKey(namesOf(m_s.units)), "Unit_Set is not sorted by lower-case key");
        require(sortedByKey(namesOf(m_s.systems)), "UnitSystem_Set is not sorted by lower-case key");
        for (const auto& q : m_s.quantities) {
            require(sortedByKey(q.synonyms), "synonyms of quantity " + q.name + " are not sorted");
            require(sortedByKey(q.units), "units of quantity " + q.name + " are not sorted");
        }
        for (const auto& u : m_s.units)
            require(sortedByKey(u.synonyms), "synonyms of unit " + u.name + " are not sorted");
    }

    // One name space for everything, and every name one that could have been added.
    void names() {
        std::map<std::string, std::string> owners;
        auto claim = [&](const std::string& name, const std::string& owner) {
            require(isAcceptableNewName(name), owner + " has the unacceptable name or synonym \"" + name + "\"");
            const auto [it, fresh] = owners.emplace(foldCase(name), owner);
            require(fresh, "\"" + name + "\" names both " + it->second + " and " + owner);
        };
        for (const auto& q : m_s.quantities) {
            claim(q.name, "quantity " + q.name);
            for (const auto& s : q.synonyms) claim(s, "quantity " + q.name);
        }
        for (const auto& u : m_s.units) {
            claim(u.name, "unit " + u.name);
            for (const auto& s : u.synonyms) claim(s, "unit " + u.name);
        }
        for (const auto& s : m_s.systems) claim(s.name, "unit system " + s.name);
    }

    void expressionStored(const std::string& expression, const std::string& owner) {
        require(isStorableText(expression), owner + " holds an expression a file cannot hold");
        require(m_options.expressionsMayBeLong || utf16Length(expression) <= kMaxExpressionLength,
                owner + " holds an expression of more than 500 characters");
    }

    void quantities() {
        for (const auto& q : m_s.quantities) {
            expressionStored(q.expression, "quantity " + q.name);
            require(q.dims.size() == kBaseDimensions, "quantity " + q.name + " has no 10-element vector");
            for (const auto& s : q.synonyms) {
                std::vector<std::string> owners;
                require(m_e.Quantity_Synonym_Set(s, owners) == S_OK && owners == q.synonyms,
                        "synonym " + s + " does not resolve to its quantity " + q.name);
            }
            // Exactly the units that name this quantity.
            std::vector<std::string> expected;
            for (const auto& u : m_s.units)
                if (u.quantity == q.name) expected.push_back(u.name);
            require(q.units == expected, "Quantity_Unit_Set(" + q.name + ") is not the units that name it");
        }
    }

    bool isQuantity(const std::string& name) const {
        for (const auto& q : m_s.quantities)
            if (q.name == name) return true;
        return false;
    }

    bool isRemovedQuantity(const std::string& name) const {
        return m_options.removedQuantityKeys && m_options.removedQuantityKeys->count(foldCase(name)) != 0;
    }

    void units() {
        for (const auto& u : m_s.units) {
            const std::string owner = "unit " + u.name;
            require(isQuantity(u.quantity) || isRemovedQuantity(u.quantity),
                    owner + " names the quantity " + u.quantity + ", which neither exists nor was removed");
            expressionStored(u.expression, owner);
            require(utf16Length(u.symbol) <= kMaxNameLength && isStorableText(u.symbol),
                    owner + " has a symbol a file cannot hold or longer than 50");
            const bool sentinel = !u.expression.empty() && u.factor == UNDEFINED_VALUE && u.offset == UNDEFINED_VALUE;
            require(sentinel || (std::isfinite(u.factor) && std::isfinite(u.offset)),
                    owner + " has a factor or offset that is not finite");
            for (const auto& s : u.synonyms) {
                std::vector<std::string> owners;
                require(m_e.Unit_Synonym_Set(s, owners) == S_OK && owners == u.synonyms,
                        "synonym " + s + " does not resolve to its unit " + u.name);
            }
        }
    }

    void systems() {
        std::map<std::string, bool> units;
        for (const auto& u : m_s.units) units[u.name] = true;
        for (const auto& s : m_s.systems) {
            require(s.preferred.size() == m_s.quantities.size(), "unit system " + s.name + " misses quantities");
            for (const auto& [quantity, unit] : s.preferred)
                require(unit.empty() || units.count(unit), "unit system " + s.name + " prefers the unknown unit " +
                                                               unit + " for " + quantity);
        }
    }

    // A unit worked out from its expression holds what the expression converts to now: the
    // value is not stale, and the deferred path agrees with the conversion path.
    void evaluations() {
        for (const auto& u : m_s.units) {
            if (failed()) return;
            if (u.expression.empty() || u.factor == UNDEFINED_VALUE || u.factor == 0.0 || !isQuantity(u.quantity) ||
                utf16Length(u.expression) > kMaxExpressionLength)
                continue;
            double add = 0, multiplyBy = 0;
            const Result rc = m_e.UnitExpression_Convert(u.name, u.expression, add, multiplyBy);
            require(rc == S_OK && multiplyBy == 1.0 && add == 0.0,
                    "unit " + u.name + " (factor " + numberText(u.factor) + ", offset " + numberText(u.offset) +
                        ") converts to its own expression " + u.expression + " with " + codeText(rc) +
                        ", multiply by " + numberText(multiplyBy) + ", add " + numberText(add));
        }
    }

    Engine& m_e;
    const Snapshot& m_s;
    const InvariantOptions& m_options;
    std::string m_error;
};

}  // namespace

std::string invariantViolation(Engine& e, const Snapshot& s, const InvariantOptions& options) {
    return Checker(e, s, options).run();
}

}  // namespace kestrum::fuzz
