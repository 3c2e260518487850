#include <kestrum/result.h>

#include <iterator>

namespace kestrum {

namespace {

struct Message {
    Result code;
    const char* text;
};

// One row per code, in the order of the codes: a code's row is found by its distance from
// the first, which the checks below keep true.
constexpr Message kMessages[] = {
    {E_UDB_FILE_NOT_FOUND, "Unit Database File Not Found"},
    {E_UDB_CORRUPT, "Unit Database is Corrupt"},
    {E_UNIT_NOT_FOUND, "Unit Not Found"},
    {E_NOT_INITIALIZED, "Initialize the Unit System First"},
    {E_INVALID_EXPRESSION, "An Input Expression is Invalid"},
    {E_INTERNAL, "Internal Error, Notify Tech Support"},
    {E_DIVIDE_BY_ZERO, "Divide by Zero Error, Notify Tech Support"},
    {E_DIMENSIONS_DIFFER, "Dimensional Analysis of the Two Units is Different"},
    {E_QUANTITY_NOT_FOUND, "Quantity Not Found"},
    {E_UNIT_SYSTEM_NOT_FOUND, "Unit System Not Found"},
    {E_NO_WRITE_PERMISSION, "No Write Permissions for this File"},
    {E_EXPRESSION_DETERMINES, "An expression determines the unit or quantity parameters"},
    {E_SYNONYM_NOT_FOUND, "Synonym Not Found"},
    {E_NAME_EXISTS, "A Quantity, Unit, UnitSystem or Synonym With the Same Name Already Exists"},
    {E_NAME_NOT_ACCEPTABLE, "The name or expression specified is not acceptable"},
    {E_NO_PREFERRED_UNIT_BASIC, "The preferred unit for a basic quantity was not found in the given unit system"},
    {E_NO_PREFERRED_UNIT_CONSTANT, "No preferred units for a constant quantity in a unit system"},
};

constexpr bool rowsInCodeOrder() {
    for (std::size_t i = 0; i < std::size(kMessages); ++i)
        if (kMessages[i].code != E_UDB_FILE_NOT_FOUND + static_cast<Result>(i)) return false;
    return true;
}

static_assert(std::size(kMessages) == E_NO_PREFERRED_UNIT_CONSTANT - E_UDB_FILE_NOT_FOUND + 1,
              "one message per engine code");
static_assert(rowsInCodeOrder(), "a row out of place would give a code another code's message");

}  // namespace

std::string ErrorMessage(Result rc) {
    if (IsEngineCode(rc)) return kMessages[rc - E_UDB_FILE_NOT_FOUND].text;
    return "Error Code not Found";
}

}  // namespace kestrum
