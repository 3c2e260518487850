// Random edits for the consistency test: a generator that gives the same sequence for the same
// seed on every platform, and one random edit at a time, drawn from every edit the database
// has, with arguments that mix existing names (in any case, or a synonym), fresh ones, tricky
// ones (markup characters, non-ASCII, 50 characters) and refused ones.
#pragma once

#include "fuzz_support.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace kestrum::fuzz {

// splitmix64 with plain modulo reduction: no <random> distribution, whose results the
// standard leaves to each library.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next();
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }
    bool chance(unsigned percent) { return below(100) < percent; }
    template <class T>
    const T& pick(const std::vector<T>& items) {
        return items[below(items.size())];
    }

private:
    std::uint64_t m_state;
};

// One edit as made: what it was, what it returned, and how to tell that a success did what
// it says (a check given the database before and after; "" when it holds).
struct Edit {
    std::string description;
    Result rc = S_OK;
    bool rename = false;  // the only edits that may lengthen expressions past 500 characters
    // Unit_Rename of a unit left behind by a removed quantity whose key names a quantity again
    // (added anew, renamed to it, or as a synonym): that quantity never listed the unit, and
    // the rename fails with E_INTERNAL, as designed.
    bool internalAllowed = false;
    std::string relinkedUnit;  // Unit_Quantity_Replace: the unit now on its quantity's list
    std::function<std::string(Engine&, const Snapshot& before, const Snapshot& after)> verify;
};

class EditMaker {
public:
    // strayUnits: lower-case names of the units left behind by a removed quantity and not
    // given a quantity since.
    EditMaker(Random& random, const std::set<std::string>& strayUnits) : m_random(random), m_strays(strayUnits) {}
    // Makes one random edit of e, whose current state is s.
    Edit make(Engine& e, const Snapshot& s);

    // Names and texts, also used for random conversions.
    std::string existingUnit(const Snapshot& s);
    std::string existingQuantity(const Snapshot& s);
    std::string existingSystem(const Snapshot& s);
    std::string unitExpression(const Snapshot& s, const std::string& self);
    std::string quantityExpression(const Snapshot& s, const std::string& self);

private:
    std::string newName(const char* stem, const Snapshot& s);
    std::string anyCase(std::string name);
    std::string expression(const std::vector<std::string>& names, const std::string& self);
    double number(bool offset);
    std::string symbol();

    Edit quantityEdit(Engine& e, const Snapshot& s);
    Edit unitEdit(Engine& e, const Snapshot& s);
    Edit unitValueEdit(Engine& e, const Snapshot& s);
    Edit systemEdit(Engine& e, const Snapshot& s);

    Random& m_random;
    const std::set<std::string>& m_strays;
};

}  // namespace kestrum::fuzz
