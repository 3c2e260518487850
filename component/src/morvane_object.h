// The component object: one engine with its own Unit Database behind three interface faces.
//
// IMorvane is the first face and the object's identity (IUnknown and IDispatch are answered
// with it); IUnitDatabase and ISupportErrorInfo are the second and third. One dispatch
// implementation, over the type information of IMorvane, serves the IDispatch operations of
// both dual faces. Reference counting is atomic; the first AddRef and the last Release count
// the object in and out of the server's count of live objects.
#pragma once

#include "interface_support.h"

#include <kestrum/engine.h>

#include <atomic>

namespace kestrum::component {

class MorvaneObject final : public IMorvane, public IUnitDatabase, public ISupportErrorInfo {
public:
    // Takes the type information of IMorvane from the registered type library; without it the
    // object still exists but answers only IUnknown and ISupportErrorInfo.
    MorvaneObject();
    MorvaneObject(const MorvaneObject&) = delete;
    MorvaneObject& operator=(const MorvaneObject&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                   VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    HRESULT InterfaceSupportsErrorInfo(REFIID riid) override;

    // IMorvane
    HRESULT Initialize(BSTR sUnitDatabaseLocation) override;
    HRESULT EnableDimensionalAnalysis(unsigned char bEnable) override;
    HRESULT UnitExpression_Convert(BSTR sUnitExpressionFrom, BSTR sUnitExpressionTo, double* pdAdd,
                                   double* pdMultiplyBy) override;
    HRESULT UnitExpression_Symbol(BSTR sUnitExpression, BSTR* psSymbol) override;
    HRESULT QuantityExpression_Convert(BSTR sUnitSystemFrom, BSTR sUnitSystemTo, BSTR sQuantityExpression,
                                       double* pdAdd, double* pdMultiplyBy) override;
    HRESULT QuantityExpression_Symbol(BSTR sUnitSystem, BSTR sQuantityExpression, BSTR* psSymbol) override;

    // IUnitDatabase
    HRESULT ReadUnitDatabase(BSTR sUnitDatabaseLocation, tagREAD_FLAG eReadFlag) override;
    HRESULT WriteUnitDatabase(BSTR sUnitDatabaseLocation) override;
    HRESULT Quantity_Set(SAFEARRAY** ppQtyArray) override;
    HRESULT Quantity_Synonym_Set(BSTR sQuantity, SAFEARRAY** ppQtySynonymArray) override;
    HRESULT Quantity_DimVector(BSTR sQuantity, SAFEARRAY** ppDimVector) override;
    HRESULT Quantity_Expression(BSTR sQuantity, BSTR* psExpression) override;
    HRESULT Quantity_Unit_Set(BSTR sQuantity, SAFEARRAY** ppUnitArray) override;
    HRESULT Unit_Set(SAFEARRAY** ppUnitArray) override;
    HRESULT Unit_Synonym_Set(BSTR sUnit, SAFEARRAY** ppUnitSynonymArray) override;
    HRESULT Unit_Quantity(BSTR sUnit, BSTR* psQuantity) override;
    HRESULT Unit_ConversionFactor(BSTR sUnit, double* pdConvFactor) override;
    HRESULT Unit_ConversionOffset(BSTR sUnit, double* pdConvOffset) override;
    HRESULT Unit_Expression(BSTR sUnit, BSTR* psExpression) override;
    HRESULT Unit_Symbol(BSTR sUnit, BSTR* psSymbol) override;
    HRESULT UnitSystem_Set(SAFEARRAY** ppUnitSystemArray) override;
    HRESULT UnitSystem_PrefUnit(BSTR sUnitSystem, BSTR sQuantity, BSTR* psPreferredUnit) override;
    HRESULT Quantity_Remove(BSTR sQuantity) override;
    HRESULT Quantity_Rename(BSTR sCurrentName, BSTR sNewName) override;
    HRESULT Quantity_Add(BSTR sQuantity) override;
    HRESULT Quantity_Synonym_Remove(BSTR sQuantity, BSTR sSynonym) override;
    HRESULT Quantity_Synonym_Add(BSTR sQuantity, BSTR sSynonym) override;
    HRESULT Quantity_DimVector_Replace(BSTR sQuantity, SAFEARRAY* pDimVector) override;
    HRESULT Quantity_Expression_Replace(BSTR sQuantity, BSTR sExpression) override;
    HRESULT Unit_Remove(BSTR sUnit) override;
    HRESULT Unit_Rename(BSTR sCurrentName, BSTR sNewName) override;
    HRESULT Unit_Add(BSTR sUnit, BSTR sQuantity) override;
    HRESULT Unit_Synonym_Remove(BSTR sUnit, BSTR sSynonym) override;
    HRESULT Unit_Synonym_Add(BSTR sUnit, BSTR sSynonym) override;
    HRESULT Unit_Quantity_Replace(BSTR sUnit, BSTR sQuantity) override;
    HRESULT Unit_ConversionFactor_Replace(BSTR sUnit, double dConvFactor) override;
    HRESULT Unit_ConversionOffset_Replace(BSTR sUnit, double dConvOffset) override;
    HRESULT Unit_Expression_Replace(BSTR sUnit, BSTR sExpression) override;
    HRESULT Unit_Symbol_Replace(BSTR sUnit, BSTR sSymbol) override;
    HRESULT UnitSystem_Remove(BSTR sUnitSystem) override;
    HRESULT UnitSystem_Rename(BSTR sCurrentName, BSTR sNewName) override;
    HRESULT UnitSystem_Add(BSTR sUnitSystem) override;
    HRESULT UnitSystem_PrefUnit_Replace(BSTR sUnitSystem, BSTR sQuantity, BSTR sUnit) override;

private:
    // Only Release destroys the object.
    virtual ~MorvaneObject();

    std::atomic<LONG> m_refCount{0};
    ITypeInfo* m_typeInfo = nullptr;  // of IMorvane; null when the type library is not registered
    Engine m_engine;
};

}  // namespace kestrum::component
