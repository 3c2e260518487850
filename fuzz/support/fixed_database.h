// The fixed database of the expression targets (see fixed_database.cpp for what it holds).
#pragma once

#include "fuzz_support.h"

namespace kestrum::fuzz {

// Loads it into e through a file in dir, then removes the quantity Gone, leaving its unit
// "orphan" behind. Unit systems: SI, English, Bare (nothing preferred), Odd. Scratch items
// for the targets to define: the quantities Y and Z, the unit X (of Length).
void loadFixedDatabase(Engine& e, const ScratchDir& dir);

}  // namespace kestrum::fuzz
