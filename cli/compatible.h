// "Which units can I convert this to?": every unit whose dimensions are those of a unit
// expression, grouped by quantity.
#pragma once

#include <kestrum/engine.h>

#include <string>
#include <string_view>
#include <vector>

namespace kestrum::cli {

struct QuantityUnits {
    std::string quantity;
    std::vector<std::string> units;
};

// The quantities, in the database's order, whose vector equals the expression's, each with all
// its units. Quantities of the same vector (Energy, Torque) are separate groups. Fails with the
// expression's own code when it does not evaluate. Leaves dimensional analysis as it was.
Result unitsLike(Engine& engine, std::string_view expression, bool dimensionalAnalysis,
                 std::vector<QuantityUnits>& groups);

}  // namespace kestrum::cli
