// The seventeen engine codes: their values, which the component's clients compare against, and
// their fixed messages, which users read.
#include "test_support.h"

#include <kestrum/result.h>

namespace kestrum {
namespace {

TEST(ResultCodes, EachCodeHasItsValueAndExactMessage) {
    struct Row {
        Result code;
        std::uint32_t value;
        const char* message;
    };
    const Row rows[] = {
        {E_UDB_FILE_NOT_FOUND, 0x8004020A, "Unit Database File Not Found"},
        {E_UDB_CORRUPT, 0x8004020B, "Unit Database is Corrupt"},
        {E_UNIT_NOT_FOUND, 0x8004020C, "Unit Not Found"},
        {E_NOT_INITIALIZED, 0x8004020D, "Initialize the Unit System First"},
        {E_INVALID_EXPRESSION, 0x8004020E, "An Input Expression is Invalid"},
        {E_INTERNAL, 0x8004020F, "Internal Error, Notify Tech Support"},
        {E_DIVIDE_BY_ZERO, 0x80040210, "Divide by Zero Error, Notify Tech Support"},
        {E_DIMENSIONS_DIFFER, 0x80040211, "Dimensional Analysis of the Two Units is Different"},
        {E_QUANTITY_NOT_FOUND, 0x80040212, "Quantity Not Found"},
        {E_UNIT_SYSTEM_NOT_FOUND, 0x80040213, "Unit System Not Found"},
        {E_NO_WRITE_PERMISSION, 0x80040214, "No Write Permissions for this File"},
        {E_EXPRESSION_DETERMINES, 0x80040215, "An expression determines the unit or quantity parameters"},
        {E_SYNONYM_NOT_FOUND, 0x80040216, "Synonym Not Found"},
        {E_NAME_EXISTS, 0x80040217, "A Quantity, Unit, UnitSystem or Synonym With the Same Name Already Exists"},
        {E_NAME_NOT_ACCEPTABLE, 0x80040218, "The name or expression specified is not acceptable"},
        {E_NO_PREFERRED_UNIT_BASIC, 0x80040219,
         "The preferred unit for a basic quantity was not found in the given unit system"},
        {E_NO_PREFERRED_UNIT_CONSTANT, 0x8004021A, "No preferred units for a constant quantity in a unit system"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(static_cast<std::uint32_t>(row.code), row.value) << row.message;
        EXPECT_LT(row.code, 0) << "failures carry the severity bit: " << row.message;
        EXPECT_EQ(ErrorMessage(row.code), row.message);
    }
    EXPECT_EQ(S_OK, 0);
}

TEST(ResultCodes, EngineCodesAreTheSeventeenAndNoNeighbour) {
    // Both sides of both ends of the range: only the engine's own codes carry a description.
    EXPECT_FALSE(IsEngineCode(static_cast<Result>(0x80040209U)));
    EXPECT_TRUE(IsEngineCode(E_UDB_FILE_NOT_FOUND));
    EXPECT_TRUE(IsEngineCode(E_NO_PREFERRED_UNIT_CONSTANT));
    EXPECT_FALSE(IsEngineCode(static_cast<Result>(0x8004021BU)));
    EXPECT_FALSE(IsEngineCode(S_OK));
    EXPECT_FALSE(IsEngineCode(E_OUTOFMEMORY));
    int described = 0;
    for (std::uint32_t code = 0x80040200U; code < 0x80040230U; ++code) {
        const bool engine = IsEngineCode(static_cast<Result>(code));
        described += engine;
        EXPECT_EQ(engine, ErrorMessage(static_cast<Result>(code)) != "Error Code not Found") << std::hex << code;
    }
    EXPECT_EQ(described, 17);
}

TEST(ResultCodes, AnyOtherCodeHasNoMessage) {
    for (std::uint32_t code : {0x80040209U, 0x8004021BU, 0x00000000U, 0x80004005U, 0x8007000EU, 0x00000001U,
                               0xFFFFFFFFU, 0x0004020AU}) {
        EXPECT_EQ(ErrorMessage(static_cast<Result>(code)), "Error Code not Found") << std::hex << code;
    }
}

}  // namespace
}  // namespace kestrum
