// The type library KestrumLib, exported from the module for LoadTypeLib: every operation of
// both interfaces with its dispatch identifier, parameters and help string.
#include <comrt/owned.h>
#include <kestrum/KestrumLib.h>

#include <comrt/typelib_description.h>

#include <iterator>

namespace {

using comrt::DescribeMethod;
using comrt::FunctionDescription;
using comrt::ParamDescription;

constexpr USHORT kIn = PARAMFLAG_FIN;
constexpr USHORT kInOut = PARAMFLAG_FIN | PARAMFLAG_FOUT;
constexpr USHORT kRetval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
constexpr VARTYPE kBstr = VT_BSTR;
constexpr VARTYPE kR8 = VT_R8;
constexpr VARTYPE kR8Ref = VT_R8 | VT_BYREF;
constexpr VARTYPE kBstrRef = VT_BSTR | VT_BYREF;
constexpr VARTYPE kBstrArrayRef = VT_ARRAY | VT_BSTR | VT_BYREF;
constexpr VARTYPE kShortArray = VT_ARRAY | VT_I2;
constexpr VARTYPE kShortArrayRef = VT_ARRAY | VT_I2 | VT_BYREF;

// ---- IMorvane ----
constexpr ParamDescription pInitialize[] = {{u"sUnitDatabaseLocation", kBstr, kIn}};
constexpr ParamDescription pEnable[] = {{u"bEnable", VT_UI1, kIn}};
constexpr ParamDescription pUnitConvert[] = {{u"sUnitExpressionFrom", kBstr, kIn},
                                             {u"sUnitExpressionTo", kBstr, kIn},
                                             {u"pdAdd", kR8Ref, kInOut},
                                             {u"pdMultiplyBy", kR8Ref, kRetval}};
constexpr ParamDescription pUnitSymbol[] = {{u"sUnitExpression", kBstr, kIn}, {u"psSymbol", kBstrRef, kRetval}};
constexpr ParamDescription pQuantityConvert[] = {{u"sUnitSystemFrom", kBstr, kIn},
                                                 {u"sUnitSystemTo", kBstr, kIn},
                                                 {u"sQuantityExpression", kBstr, kIn},
                                                 {u"pdAdd", kR8Ref, kInOut},
                                                 {u"pdMultiplyBy", kR8Ref, kRetval}};
constexpr ParamDescription pQuantitySymbol[] = {
    {u"sUnitSystem", kBstr, kIn}, {u"sQuantityExpression", kBstr, kIn}, {u"psSymbol", kBstrRef, kRetval}};

constexpr FunctionDescription kMorvaneFunctions[] = {
    DescribeMethod<&IMorvane::Initialize>(
        10, u"Initialize",
        u"Initializes the unit converter with a Unit Database in XML format.  Call before any other function",
        pInitialize),
    DescribeMethod<&IMorvane::EnableDimensionalAnalysis>(
        11, u"EnableDimensionalAnalysis", u"Performs dimensional analysis while converting unit expressions", pEnable),
    DescribeMethod<&IMorvane::UnitExpression_Convert>(12, u"UnitExpression_Convert",
                                                      u"Converts an arbitrary unit expression to another",
                                                      pUnitConvert),
    DescribeMethod<&IMorvane::UnitExpression_Symbol>(13, u"UnitExpression_Symbol",
                                                     u"Returns the symbol for a unit expression", pUnitSymbol),
    DescribeMethod<&IMorvane::QuantityExpression_Convert>(
        14, u"QuantityExpression_Convert",
        u"Converts unit of a given quantity expression from one unit system to another", pQuantityConvert),
    DescribeMethod<&IMorvane::QuantityExpression_Symbol>(
        15, u"QuantityExpression_Symbol",
        u"Returns the symbol for a unit of a given quantity expression of a unit system", pQuantitySymbol),
};

// ---- IUnitDatabase ----
constexpr ParamDescription pRead[] = {{u"sUnitDatabaseLocation", kBstr, kIn},
                                      {u"eReadFlag", VT_USERDEFINED, kIn, u"tagREAD_FLAG"}};
constexpr ParamDescription pWrite[] = {{u"sUnitDatabaseLocation", kBstr, kIn}};
constexpr ParamDescription pQtySet[] = {{u"ppQtyArray", kBstrArrayRef, kRetval}};
constexpr ParamDescription pQtySynSet[] = {{u"sQuantity", kBstr, kIn}, {u"ppQtySynonymArray", kBstrArrayRef, kRetval}};
constexpr ParamDescription pQtyDim[] = {{u"sQuantity", kBstr, kIn}, {u"ppDimVector", kShortArrayRef, kRetval}};
constexpr ParamDescription pQtyExpr[] = {{u"sQuantity", kBstr, kIn}, {u"psExpression", kBstrRef, kRetval}};
constexpr ParamDescription pQtyUnitSet[] = {{u"sQuantity", kBstr, kIn}, {u"ppUnitArray", kBstrArrayRef, kRetval}};
constexpr ParamDescription pUnitSet[] = {{u"ppUnitArray", kBstrArrayRef, kRetval}};
constexpr ParamDescription pUnitSynSet[] = {{u"sUnit", kBstr, kIn}, {u"ppUnitSynonymArray", kBstrArrayRef, kRetval}};
constexpr ParamDescription pUnitQty[] = {{u"sUnit", kBstr, kIn}, {u"psQuantity", kBstrRef, kRetval}};
constexpr ParamDescription pUnitFactor[] = {{u"sUnit", kBstr, kIn}, {u"pdConvFactor", kR8Ref, kRetval}};
constexpr ParamDescription pUnitOffset[] = {{u"sUnit", kBstr, kIn}, {u"pdConvOffset", kR8Ref, kRetval}};
constexpr ParamDescription pUnitExpr[] = {{u"sUnit", kBstr, kIn}, {u"psExpression", kBstrRef, kRetval}};
constexpr ParamDescription pUnitSym[] = {{u"sUnit", kBstr, kIn}, {u"psSymbol", kBstrRef, kRetval}};
constexpr ParamDescription pSysSet[] = {{u"ppUnitSystemArray", kBstrArrayRef, kRetval}};
constexpr ParamDescription pSysPref[] = {
    {u"sUnitSystem", kBstr, kIn}, {u"sQuantity", kBstr, kIn}, {u"psPreferredUnit", kBstrRef, kRetval}};
constexpr ParamDescription pQuantity[] = {{u"sQuantity", kBstr, kIn}};
constexpr ParamDescription pRename[] = {{u"sCurrentName", kBstr, kIn}, {u"sNewName", kBstr, kIn}};
constexpr ParamDescription pQtySynonym[] = {{u"sQuantity", kBstr, kIn}, {u"sSynonym", kBstr, kIn}};
constexpr ParamDescription pQtyDimReplace[] = {{u"sQuantity", kBstr, kIn}, {u"pDimVector", kShortArray, kIn}};
constexpr ParamDescription pQtyExprReplace[] = {{u"sQuantity", kBstr, kIn}, {u"sExpression", kBstr, kIn}};
constexpr ParamDescription pUnit[] = {{u"sUnit", kBstr, kIn}};
constexpr ParamDescription pUnitAdd[] = {{u"sUnit", kBstr, kIn}, {u"sQuantity", kBstr, kIn}};
constexpr ParamDescription pUnitSynonym[] = {{u"sUnit", kBstr, kIn}, {u"sSynonym", kBstr, kIn}};
constexpr ParamDescription pUnitQtyReplace[] = {{u"sUnit", kBstr, kIn}, {u"sQuantity", kBstr, kIn}};
constexpr ParamDescription pUnitFactorReplace[] = {{u"sUnit", kBstr, kIn}, {u"dConvFactor", kR8, kIn}};
constexpr ParamDescription pUnitOffsetReplace[] = {{u"sUnit", kBstr, kIn}, {u"dConvOffset", kR8, kIn}};
constexpr ParamDescription pUnitExprReplace[] = {{u"sUnit", kBstr, kIn}, {u"sExpression", kBstr, kIn}};
constexpr ParamDescription pUnitSymReplace[] = {{u"sUnit", kBstr, kIn}, {u"sSymbol", kBstr, kIn}};
constexpr ParamDescription pSystem[] = {{u"sUnitSystem", kBstr, kIn}};
constexpr ParamDescription pSysPrefReplace[] = {
    {u"sUnitSystem", kBstr, kIn}, {u"sQuantity", kBstr, kIn}, {u"sUnit", kBstr, kIn}};

using U = IUnitDatabase;
constexpr FunctionDescription kUnitDatabaseFunctions[] = {
    DescribeMethod<&U::ReadUnitDatabase>(10, u"ReadUnitDatabase",
                                         u"Reads a Unit Database in XML format with Overwrite/Append Option", pRead),
    DescribeMethod<&U::WriteUnitDatabase>(11, u"WriteUnitDatabase", u"Writes a Unit Database in XML format", pWrite),
    DescribeMethod<&U::Quantity_Set>(12, u"Quantity_Set",
                                     u"Returns an array containing all the quantities in the unit database", pQtySet),
    DescribeMethod<&U::Quantity_Synonym_Set>(13, u"Quantity_Synonym_Set",
                                             u"Returns an array containing all the synonyms for a quantity",
                                             pQtySynSet),
    DescribeMethod<&U::Quantity_DimVector>(14, u"Quantity_DimVector",
                                           u"Returns an array containing the dimensional vector", pQtyDim),
    DescribeMethod<&U::Quantity_Expression>(15, u"Quantity_Expression", u"Returns the expression for a quantity",
                                            pQtyExpr),
    DescribeMethod<&U::Quantity_Unit_Set>(16, u"Quantity_Unit_Set", u"Returns an array containing  units for a quantity",
                                          pQtyUnitSet),
    DescribeMethod<&U::Unit_Set>(17, u"Unit_Set", u"Returns an array containing all the units in the unit database",
                                 pUnitSet),
    DescribeMethod<&U::Unit_Synonym_Set>(18, u"Unit_Synonym_Set",
                                         u"Returns an array containing all the synonyms for a unit", pUnitSynSet),
    DescribeMethod<&U::Unit_Quantity>(19, u"Unit_Quantity", u"Returns the quantity of a unit", pUnitQty),
    DescribeMethod<&U::Unit_ConversionFactor>(20, u"Unit_ConversionFactor", u"Returns the conversion factor for a unit",
                                              pUnitFactor),
    DescribeMethod<&U::Unit_ConversionOffset>(21, u"Unit_ConversionOffset", u"Returns the conversion offset for a unit",
                                              pUnitOffset),
    DescribeMethod<&U::Unit_Expression>(22, u"Unit_Expression", u"Returns the expression for a unit", pUnitExpr),
    DescribeMethod<&U::Unit_Symbol>(23, u"Unit_Symbol", u"Returns the symbol for a unit", pUnitSym),
    DescribeMethod<&U::UnitSystem_Set>(24, u"UnitSystem_Set",
                                       u"Returns an array containing all the unit systems in the unit database",
                                       pSysSet),
    DescribeMethod<&U::UnitSystem_PrefUnit>(25, u"UnitSystem_PrefUnit", u"Returns the preferred unit for a unit system",
                                            pSysPref),
    DescribeMethod<&U::Quantity_Remove>(26, u"Quantity_Remove", u"Removes a quantity from the unit database",
                                        pQuantity),
    DescribeMethod<&U::Quantity_Rename>(27, u"Quantity_Rename", u"Renames a quantity", pRename),
    DescribeMethod<&U::Quantity_Add>(28, u"Quantity_Add", u"Add a quantity", pQuantity),
    DescribeMethod<&U::Quantity_Synonym_Remove>(29, u"Quantity_Synonym_Remove", u"Remove a quantity synonym",
                                                pQtySynonym),
    DescribeMethod<&U::Quantity_Synonym_Add>(30, u"Quantity_Synonym_Add", u"Add a quantity synonym", pQtySynonym),
    DescribeMethod<&U::Quantity_DimVector_Replace>(31, u"Quantity_DimVector_Replace",
                                                   u"Replaces the quantity dimension vector", pQtyDimReplace),
    DescribeMethod<&U::Quantity_Expression_Replace>(32, u"Quantity_Expression_Replace",
                                                    u"Replaces the expression of a quantity", pQtyExprReplace),
    DescribeMethod<&U::Unit_Remove>(33, u"Unit_Remove", u"Removes a unit from the unit database", pUnit),
    DescribeMethod<&U::Unit_Rename>(34, u"Unit_Rename", u"Renames a unit", pRename),
    DescribeMethod<&U::Unit_Add>(35, u"Unit_Add", u"Add a unit", pUnitAdd),
    DescribeMethod<&U::Unit_Synonym_Remove>(36, u"Unit_Synonym_Remove", u"Remove a unit synonym", pUnitSynonym),
    DescribeMethod<&U::Unit_Synonym_Add>(37, u"Unit_Synonym_Add", u"Add a unit synonym", pUnitSynonym),
    DescribeMethod<&U::Unit_Quantity_Replace>(38, u"Unit_Quantity_Replace", u"Replaces the quantity of a unit",
                                              pUnitQtyReplace),
    DescribeMethod<&U::Unit_ConversionFactor_Replace>(39, u"Unit_ConversionFactor_Replace",
                                                      u"Replaces the conversion factor of a unit", pUnitFactorReplace),
    DescribeMethod<&U::Unit_ConversionOffset_Replace>(40, u"Unit_ConversionOffset_Replace",
                                                      u"Replaces the conversion offset of a unit", pUnitOffsetReplace),
    DescribeMethod<&U::Unit_Expression_Replace>(41, u"Unit_Expression_Replace", u"Replaces the expression of a unit",
                                                pUnitExprReplace),
    DescribeMethod<&U::Unit_Symbol_Replace>(42, u"Unit_Symbol_Replace", u"Replaces the symbol of a unit",
                                            pUnitSymReplace),
    DescribeMethod<&U::UnitSystem_Remove>(43, u"UnitSystem_Remove", u"Removes a unit system from the unit database",
                                          pSystem),
    DescribeMethod<&U::UnitSystem_Rename>(44, u"UnitSystem_Rename", u"Renames a unit system", pRename),
    DescribeMethod<&U::UnitSystem_Add>(45, u"UnitSystem_Add", u"Add a unit system", pSystem),
    DescribeMethod<&U::UnitSystem_PrefUnit_Replace>(46, u"UnitSystem_PrefUnit_Replace",
                                                    u"Set the preferred unit for a quantity in a unit system",
                                                    pSysPrefReplace),
};

// ---- ISupportErrorInfo, which the library names but does not define: described, not callable.
constexpr ParamDescription pSupports[] = {{u"riid", VT_USERDEFINED | VT_BYREF, kIn, u"GUID"}};
constexpr FunctionDescription kSupportErrorInfoFunctions[] = {
    {0x60010000, u"InterfaceSupportsErrorInfo", nullptr, pSupports, 1, nullptr}};

constexpr comrt::ConstantDescription kReadFlags[] = {{u"OVERWRITE", OVERWRITE}, {u"APPEND", APPEND}};

constexpr comrt::ImplementedInterface kMorvaneImplements[] = {
    {&IID_IMorvane, IMPLTYPEFLAG_FDEFAULT}, {&IID_IUnitDatabase, 0}, {&IID_ISupportErrorInfo, 0}};

constexpr WORD kDualFlags = TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE;

constexpr comrt::TypeDescription kTypes[] = {
    {TKIND_COCLASS, CLSID_Morvane, u"Morvane", u"Morvane Implementation", TYPEFLAG_FCANCREATE, nullptr, 0, nullptr, 0,
     kMorvaneImplements, static_cast<WORD>(std::size(kMorvaneImplements))},
    {TKIND_DISPATCH, IID_IMorvane, u"IMorvane", u"Morvane Interface", kDualFlags, kMorvaneFunctions,
     static_cast<WORD>(std::size(kMorvaneFunctions))},
    {TKIND_DISPATCH, IID_IUnitDatabase, u"IUnitDatabase", u"Unit Database Interface", kDualFlags,
     kUnitDatabaseFunctions, static_cast<WORD>(std::size(kUnitDatabaseFunctions))},
    {TKIND_ENUM, GUID_NULL, u"tagREAD_FLAG", nullptr, 0, nullptr, 0, kReadFlags,
     static_cast<WORD>(std::size(kReadFlags))},
    {TKIND_INTERFACE, IID_ISupportErrorInfo, u"ISupportErrorInfo", nullptr, 0, kSupportErrorInfoFunctions, 1},
};

constexpr comrt::TypeLibDescription kKestrumLib = {LIBID_KestrumLib,
                                                   1,
                                                   0,
                                                   comrt::kLocaleEnglishUS,
                                                   SYS_WIN32,
                                                   u"KestrumLib",
                                                   u"Kestrum Type Library",
                                                   nullptr,
                                                   u"STDOLE2.TLB",
                                                   kTypes,
                                                   static_cast<UINT>(std::size(kTypes))};

}  // namespace

extern "C" COMRT_API const comrt::TypeLibDescription* DllGetTypeLibDescription() {
    return &kKestrumLib;
}
