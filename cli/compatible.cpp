#include "compatible.h"

namespace kestrum::cli {

Result unitsLike(Engine& engine, std::string_view expression, bool dimensionalAnalysis,
                 std::vector<QuantityUnits>& groups) {
    double add = 0, multiplyBy = 0;
    // Converting the expression into itself evaluates it; an empty one is dimensionless too.
    if (const Result rc = engine.UnitExpression_Convert(expression, expression, add, multiplyBy);
        rc != S_OK && rc != E_DIVIDE_BY_ZERO)
        return rc;
    std::vector<std::string> quantities;
    if (const Result rc = engine.Quantity_Set(quantities); rc != S_OK) return rc;
    if (const Result rc = engine.EnableDimensionalAnalysis(true); rc != S_OK) return rc;
    std::vector<QuantityUnits> found;
    for (const auto& quantity : quantities) {
        QuantityUnits group{quantity, {}};
        if (engine.Quantity_Unit_Set(quantity, group.units) != S_OK || group.units.empty()) continue;
        // All units of a quantity share its vector; the first that converts at all decides.
        bool same = false;
        for (const auto& unit : group.units) {
            const Result rc = engine.UnitExpression_Convert(expression, unit, add, multiplyBy);
            same = rc == S_OK;
            if (same || rc == E_DIMENSIONS_DIFFER) break;
        }
        if (same) found.push_back(std::move(group));
    }
    engine.EnableDimensionalAnalysis(dimensionalAnalysis);
    groups = std::move(found);
    return S_OK;
}

}  // namespace kestrum::cli
