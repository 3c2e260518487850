#include <kestrum/result.h>

namespace kestrum {

std::string ErrorMessage(Result rc) {
    static constexpr const char* kMessages[] = {
        "Unit Database File Not Found",
        "Unit Database is Corrupt",
        "Unit Not Found",
        "Initialize the Unit System First",
        "An Input Expression is Invalid",
        "Internal Error, Notify Tech Support",
        "Divide by Zero Error, Notify Tech Support",
        "Dimensional Analysis of the Two Units is Different",
        "Quantity Not Found",
        "Unit System Not Found",
        "No Write Permissions for this File",
        "An expression determines the unit or quantity parameters",
        "Synonym Not Found",
        "A Quantity, Unit, UnitSystem or Synonym With the Same Name Already Exists",
        "The name or expression specified is not acceptable",
        "The preferred unit for a basic quantity was not found in the given unit system",
        "No preferred units for a constant quantity in a unit system",
    };
    if (rc >= E_UDB_FILE_NOT_FOUND && rc <= E_NO_PREFERRED_UNIT_CONSTANT) return kMessages[rc - E_UDB_FILE_NOT_FOUND];
    return "Error Code not Found";
}

}  // namespace kestrum
