// KestrumLib: the client's view of the Kestrum engine component.
//
// The class Morvane (program identifiers "KestrumLib.Morvane" and "KestrumLib.Morvane.1") is
// one independent conversion engine with its own Unit Database. Create it with
//     CoCreateInstance(CLSID_Morvane, nullptr, CLSCTX_INPROC_SERVER, IID_IMorvane, ...)
// and ask the object for IUnitDatabase to read, write, list and edit its database. Every
// operation returns a status code; after a failure with one of the engine's codes the thread's
// error object (GetErrorInfo) holds the message, with source "KestrumLib.Morvane". String
// inputs are read up to their first zero character; strings and arrays returned belong to the
// caller. Objects have no threading model: use each from the thread that created it.
#pragma once

#include <comrt/comrt.h>

enum tagREAD_FLAG { OVERWRITE = 1, APPEND = 2 };

inline constexpr CLSID CLSID_Morvane = {0xB509086A, 0xA4D8, 0x4933, {0xB2, 0xE6, 0x93, 0x50, 0x09, 0xEA, 0x2E, 0xF7}};
inline constexpr IID IID_IMorvane = {0x6C2992A7, 0x089E, 0x4257, {0x88, 0x32, 0x29, 0xEB, 0xE5, 0x03, 0xC1, 0xF9}};
inline constexpr IID IID_IUnitDatabase = {0x8446F672, 0x84E7, 0x422C, {0x93, 0xCD, 0x3B, 0x1E, 0x96, 0xE2, 0x0E, 0x3C}};
inline constexpr GUID LIBID_KestrumLib = {0xA0851D91, 0x48BC, 0x468D, {0xA7, 0x83, 0x3D, 0xE0, 0xED, 0x08, 0x1B, 0x41}};

struct IMorvane : public IDispatch {
    virtual HRESULT Initialize(BSTR sUnitDatabaseLocation) = 0;
    virtual HRESULT EnableDimensionalAnalysis(unsigned char bEnable) = 0;
    virtual HRESULT UnitExpression_Convert(BSTR sUnitExpressionFrom, BSTR sUnitExpressionTo, double* pdAdd,
                                           double* pdMultiplyBy) = 0;
    virtual HRESULT UnitExpression_Symbol(BSTR sUnitExpression, BSTR* psSymbol) = 0;
    virtual HRESULT QuantityExpression_Convert(BSTR sUnitSystemFrom, BSTR sUnitSystemTo, BSTR sQuantityExpression,
                                               double* pdAdd, double* pdMultiplyBy) = 0;
    virtual HRESULT QuantityExpression_Symbol(BSTR sUnitSystem, BSTR sQuantityExpression, BSTR* psSymbol) = 0;
};

struct IUnitDatabase : public IDispatch {
    virtual HRESULT ReadUnitDatabase(BSTR sUnitDatabaseLocation, tagREAD_FLAG eReadFlag) = 0;
    virtual HRESULT WriteUnitDatabase(BSTR sUnitDatabaseLocation) = 0;
    virtual HRESULT Quantity_Set(SAFEARRAY** ppQtyArray) = 0;
    virtual HRESULT Quantity_Synonym_Set(BSTR sQuantity, SAFEARRAY** ppQtySynonymArray) = 0;
    virtual HRESULT Quantity_DimVector(BSTR sQuantity, SAFEARRAY** ppDimVector) = 0;
    virtual HRESULT Quantity_Expression(BSTR sQuantity, BSTR* psExpression) = 0;
    virtual HRESULT Quantity_Unit_Set(BSTR sQuantity, SAFEARRAY** ppUnitArray) = 0;
    virtual HRESULT Unit_Set(SAFEARRAY** ppUnitArray) = 0;
    virtual HRESULT Unit_Synonym_Set(BSTR sUnit, SAFEARRAY** ppUnitSynonymArray) = 0;
    virtual HRESULT Unit_Quantity(BSTR sUnit, BSTR* psQuantity) = 0;
    virtual HRESULT Unit_ConversionFactor(BSTR sUnit, double* pdConvFactor) = 0;
    virtual HRESULT Unit_ConversionOffset(BSTR sUnit, double* pdConvOffset) = 0;
    virtual HRESULT Unit_Expression(BSTR sUnit, BSTR* psExpression) = 0;
    virtual HRESULT Unit_Symbol(BSTR sUnit, BSTR* psSymbol) = 0;
    virtual HRESULT UnitSystem_Set(SAFEARRAY** ppUnitSystemArray) = 0;
    virtual HRESULT UnitSystem_PrefUnit(BSTR sUnitSystem, BSTR sQuantity, BSTR* psPreferredUnit) = 0;
    virtual HRESULT Quantity_Remove(BSTR sQuantity) = 0;
    virtual HRESULT Quantity_Rename(BSTR sCurrentName, BSTR sNewName) = 0;
    virtual HRESULT Quantity_Add(BSTR sQuantity) = 0;
    virtual HRESULT Quantity_Synonym_Remove(BSTR sQuantity, BSTR sSynonym) = 0;
    virtual HRESULT Quantity_Synonym_Add(BSTR sQuantity, BSTR sSynonym) = 0;
    virtual HRESULT Quantity_DimVector_Replace(BSTR sQuantity, SAFEARRAY* pDimVector) = 0;
    virtual HRESULT Quantity_Expression_Replace(BSTR sQuantity, BSTR sExpression) = 0;
    virtual HRESULT Unit_Remove(BSTR sUnit) = 0;
    virtual HRESULT Unit_Rename(BSTR sCurrentName, BSTR sNewName) = 0;
    virtual HRESULT Unit_Add(BSTR sUnit, BSTR sQuantity) = 0;
    virtual HRESULT Unit_Synonym_Remove(BSTR sUnit, BSTR sSynonym) = 0;
    virtual HRESULT Unit_Synonym_Add(BSTR sUnit, BSTR sSynonym) = 0;
    virtual HRESULT Unit_Quantity_Replace(BSTR sUnit, BSTR sQuantity) = 0;
    virtual HRESULT Unit_ConversionFactor_Replace(BSTR sUnit, double dConvFactor) = 0;
    virtual HRESULT Unit_ConversionOffset_Replace(BSTR sUnit, double dConvOffset) = 0;
    virtual HRESULT Unit_Expression_Replace(BSTR sUnit, BSTR sExpression) = 0;
    virtual HRESULT Unit_Symbol_Replace(BSTR sUnit, BSTR sSymbol) = 0;
    virtual HRESULT UnitSystem_Remove(BSTR sUnitSystem) = 0;
    virtual HRESULT UnitSystem_Rename(BSTR sCurrentName, BSTR sNewName) = 0;
    virtual HRESULT UnitSystem_Add(BSTR sUnitSystem) = 0;
    virtual HRESULT UnitSystem_PrefUnit_Replace(BSTR sUnitSystem, BSTR sQuantity, BSTR sUnit) = 0;
};
