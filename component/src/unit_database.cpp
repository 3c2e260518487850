// The IUnitDatabase operations: the engine's file, query and edit operations at the interface.
#include "morvane_object.h"

namespace kestrum::component {

namespace {

// Reading and writing the file report under IMorvane, like the conversions; everything else
// under IUnitDatabase.
template <typename Call>
HRESULT edit(Call call) {
    return Guarded([&] { return Finish(IID_IUnitDatabase, call()); });
}

template <typename Call>
HRESULT text(BSTR* out, Call&& call) {
    return ReturnText(IID_IUnitDatabase, out, call);
}

template <typename Call>
HRESULT number(double* out, Call&& call) {
    return ReturnNumber(IID_IUnitDatabase, out, call);
}

template <typename Call>
HRESULT list(SAFEARRAY** out, Call&& call) {
    return ReturnList(IID_IUnitDatabase, out, call);
}

}  // namespace

HRESULT MorvaneObject::ReadUnitDatabase(BSTR sUnitDatabaseLocation, tagREAD_FLAG eReadFlag) {
    return Guarded([&] {
        return Finish(IID_IMorvane, m_engine.ReadUnitDatabase(Utf8(sUnitDatabaseLocation), eReadFlag));
    });
}

HRESULT MorvaneObject::WriteUnitDatabase(BSTR sUnitDatabaseLocation) {
    return Guarded([&] { return Finish(IID_IMorvane, m_engine.WriteUnitDatabase(Utf8(sUnitDatabaseLocation))); });
}

HRESULT MorvaneObject::Quantity_Set(SAFEARRAY** ppQtyArray) {
    return list(ppQtyArray, [&](auto& items) { return m_engine.Quantity_Set(items); });
}

HRESULT MorvaneObject::Quantity_Synonym_Set(BSTR sQuantity, SAFEARRAY** ppQtySynonymArray) {
    return list(ppQtySynonymArray, [&](auto& items) { return m_engine.Quantity_Synonym_Set(Utf8(sQuantity), items); });
}

HRESULT MorvaneObject::Quantity_DimVector(BSTR sQuantity, SAFEARRAY** ppDimVector) {
    if (ppDimVector == nullptr) return E_POINTER;
    *ppDimVector = nullptr;
    return Guarded([&] {
        std::vector<std::int16_t> vector;
        const Result rc = m_engine.Quantity_DimVector(Utf8(sQuantity), vector);
        return Finish(IID_IUnitDatabase, rc == S_OK ? PutShortArray(vector, ppDimVector) : rc);
    });
}

HRESULT MorvaneObject::Quantity_Expression(BSTR sQuantity, BSTR* psExpression) {
    return text(psExpression, [&](auto& value) { return m_engine.Quantity_Expression(Utf8(sQuantity), value); });
}

HRESULT MorvaneObject::Quantity_Unit_Set(BSTR sQuantity, SAFEARRAY** ppUnitArray) {
    return list(ppUnitArray, [&](auto& items) { return m_engine.Quantity_Unit_Set(Utf8(sQuantity), items); });
}

HRESULT MorvaneObject::Unit_Set(SAFEARRAY** ppUnitArray) {
    return list(ppUnitArray, [&](auto& items) { return m_engine.Unit_Set(items); });
}

HRESULT MorvaneObject::Unit_Synonym_Set(BSTR sUnit, SAFEARRAY** ppUnitSynonymArray) {
    return list(ppUnitSynonymArray, [&](auto& items) { return m_engine.Unit_Synonym_Set(Utf8(sUnit), items); });
}

HRESULT MorvaneObject::Unit_Quantity(BSTR sUnit, BSTR* psQuantity) {
    return text(psQuantity, [&](auto& value) { return m_engine.Unit_Quantity(Utf8(sUnit), value); });
}

HRESULT MorvaneObject::Unit_ConversionFactor(BSTR sUnit, double* pdConvFactor) {
    return number(pdConvFactor, [&](double& value) { return m_engine.Unit_ConversionFactor(Utf8(sUnit), value); });
}

HRESULT MorvaneObject::Unit_ConversionOffset(BSTR sUnit, double* pdConvOffset) {
    return number(pdConvOffset, [&](double& value) { return m_engine.Unit_ConversionOffset(Utf8(sUnit), value); });
}

HRESULT MorvaneObject::Unit_Expression(BSTR sUnit, BSTR* psExpression) {
    return text(psExpression, [&](auto& value) { return m_engine.Unit_Expression(Utf8(sUnit), value); });
}

HRESULT MorvaneObject::Unit_Symbol(BSTR sUnit, BSTR* psSymbol) {
    return text(psSymbol, [&](auto& value) { return m_engine.Unit_Symbol(Utf8(sUnit), value); });
}

HRESULT MorvaneObject::UnitSystem_Set(SAFEARRAY** ppUnitSystemArray) {
    return list(ppUnitSystemArray, [&](auto& items) { return m_engine.UnitSystem_Set(items); });
}

HRESULT MorvaneObject::UnitSystem_PrefUnit(BSTR sUnitSystem, BSTR sQuantity, BSTR* psPreferredUnit) {
    return text(psPreferredUnit, [&](auto& value) {
        return m_engine.UnitSystem_PrefUnit(Utf8(sUnitSystem), Utf8(sQuantity), value);
    });
}

HRESULT MorvaneObject::Quantity_Remove(BSTR sQuantity) {
    return edit([&] { return m_engine.Quantity_Remove(Utf8(sQuantity)); });
}

HRESULT MorvaneObject::Quantity_Rename(BSTR sCurrentName, BSTR sNewName) {
    return edit([&] { return m_engine.Quantity_Rename(Utf8(sCurrentName), Utf8(sNewName)); });
}

HRESULT MorvaneObject::Quantity_Add(BSTR sQuantity) {
    return edit([&] { return m_engine.Quantity_Add(Utf8(sQuantity)); });
}

HRESULT MorvaneObject::Quantity_Synonym_Remove(BSTR sQuantity, BSTR sSynonym) {
    return edit([&] { return m_engine.Quantity_Synonym_Remove(Utf8(sQuantity), Utf8(sSynonym)); });
}

HRESULT MorvaneObject::Quantity_Synonym_Add(BSTR sQuantity, BSTR sSynonym) {
    return edit([&] { return m_engine.Quantity_Synonym_Add(Utf8(sQuantity), Utf8(sSynonym)); });
}

HRESULT MorvaneObject::Quantity_DimVector_Replace(BSTR sQuantity, SAFEARRAY* pDimVector) {
    return edit([&] {
        const std::string quantity = Utf8(sQuantity).str();
        std::vector<std::int16_t> vector;
        const HRESULT arrayState = ReadShortArray(pDimVector, vector);
        if (arrayState == S_OK) return m_engine.Quantity_DimVector_Replace(quantity, vector);
        // An unusable array is reported where its storage would be locked: after the quantity
        // is found and known to take a vector, so the lookup's codes keep their precedence.
        std::string expression;
        Result rc = m_engine.Quantity_Expression(quantity, expression);
        if (rc == S_OK && !expression.empty()) rc = E_EXPRESSION_DETERMINES;
        return rc != S_OK ? rc : arrayState;
    });
}

HRESULT MorvaneObject::Quantity_Expression_Replace(BSTR sQuantity, BSTR sExpression) {
    return edit([&] { return m_engine.Quantity_Expression_Replace(Utf8(sQuantity), Utf8(sExpression)); });
}

HRESULT MorvaneObject::Unit_Remove(BSTR sUnit) {
    return edit([&] { return m_engine.Unit_Remove(Utf8(sUnit)); });
}

HRESULT MorvaneObject::Unit_Rename(BSTR sCurrentName, BSTR sNewName) {
    return edit([&] { return m_engine.Unit_Rename(Utf8(sCurrentName), Utf8(sNewName)); });
}

HRESULT MorvaneObject::Unit_Add(BSTR sUnit, BSTR sQuantity) {
    return edit([&] { return m_engine.Unit_Add(Utf8(sUnit), Utf8(sQuantity)); });
}

HRESULT MorvaneObject::Unit_Synonym_Remove(BSTR sUnit, BSTR sSynonym) {
    return edit([&] { return m_engine.Unit_Synonym_Remove(Utf8(sUnit), Utf8(sSynonym)); });
}

HRESULT MorvaneObject::Unit_Synonym_Add(BSTR sUnit, BSTR sSynonym) {
    return edit([&] { return m_engine.Unit_Synonym_Add(Utf8(sUnit), Utf8(sSynonym)); });
}

HRESULT MorvaneObject::Unit_Quantity_Replace(BSTR sUnit, BSTR sQuantity) {
    return edit([&] { return m_engine.Unit_Quantity_Replace(Utf8(sUnit), Utf8(sQuantity)); });
}

HRESULT MorvaneObject::Unit_ConversionFactor_Replace(BSTR sUnit, double dConvFactor) {
    return edit([&] { return m_engine.Unit_ConversionFactor_Replace(Utf8(sUnit), dConvFactor); });
}

HRESULT MorvaneObject::Unit_ConversionOffset_Replace(BSTR sUnit, double dConvOffset) {
    return edit([&] { return m_engine.Unit_ConversionOffset_Replace(Utf8(sUnit), dConvOffset); });
}

HRESULT MorvaneObject::Unit_Expression_Replace(BSTR sUnit, BSTR sExpression) {
    return edit([&] { return m_engine.Unit_Expression_Replace(Utf8(sUnit), Utf8(sExpression)); });
}

HRESULT MorvaneObject::Unit_Symbol_Replace(BSTR sUnit, BSTR sSymbol) {
    return edit([&] { return m_engine.Unit_Symbol_Replace(Utf8(sUnit), Utf8(sSymbol)); });
}

HRESULT MorvaneObject::UnitSystem_Remove(BSTR sUnitSystem) {
    return edit([&] { return m_engine.UnitSystem_Remove(Utf8(sUnitSystem)); });
}

HRESULT MorvaneObject::UnitSystem_Rename(BSTR sCurrentName, BSTR sNewName) {
    return edit([&] { return m_engine.UnitSystem_Rename(Utf8(sCurrentName), Utf8(sNewName)); });
}

HRESULT MorvaneObject::UnitSystem_Add(BSTR sUnitSystem) {
    return edit([&] { return m_engine.UnitSystem_Add(Utf8(sUnitSystem)); });
}

HRESULT MorvaneObject::UnitSystem_PrefUnit_Replace(BSTR sUnitSystem, BSTR sQuantity, BSTR sUnit) {
    return edit([&] {
        return m_engine.UnitSystem_PrefUnit_Replace(Utf8(sUnitSystem), Utf8(sQuantity), Utf8(sUnit));
    });
}

}  // namespace kestrum::component
