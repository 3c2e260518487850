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
    // Unit_Rename of a unit whose removed quantity's key came back (as a quantity or a
    // synonym): that quantity never listed the unit, and the rename fails with E_INTERNAL.
    bool internalAllowed = false;
    std::function<std::string(Engine&, const Snapshot& before, const Snapshot& after)> verify;
};

class EditMaker {
public:
    EditMaker(Random& random, const std::set<std::string>& removedQuantityKeys)
        : m_random(random), m_removed(removedQuantityKeys) {}
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
    const std::set<std::string>& m_removed;
};

}  // namespace kestrum::fuzz
