// The fixed database of the expression targets (see fixed_database.cpp for what it holds).
#pragma once

#include "fuzz_support.h"

namespace kestrum::fuzz {

// Loads it into e through a file in dir, then removes the quantity Gone, leaving its unit
// "orphan" behind. Unit systems: SI, English, Bare (nothing preferred), Odd. Scratch items
// for the targets to define: the quantities Y and Z, the unit X (of Length).
void loadFixedDatabase(Engine& e, const ScratchDir& dir);

// One engine holding the fixed database, for one input.
struct Fixture {
    Fixture() { loadFixedDatabase(e, dir); }
    ScratchDir dir;
    Engine e;
};

// A conversion's outcome, with a text for failure messages.
struct Conversion {
    Result rc;
    double add = 0.0;
    double multiplyBy = 0.0;
    std::string text() const {
        return codeText(rc) + " (multiply by " + numberText(multiplyBy) + ", add " + numberText(add) + ")";
    }
};

}  // namespace kestrum::fuzz
