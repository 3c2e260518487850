// The component object's identity, reference counting, dispatch and the IMorvane operations.
#include "morvane_object.h"

#include "server.h"

namespace kestrum::component {

MorvaneObject::MorvaneObject() {
    comrt::InterfacePtr<ITypeLib> library;
    if (SUCCEEDED(LoadRegTypeLib(LIBID_KestrumLib, 1, 0, comrt::kLocaleEnglishUS, library.put()))) {
        if (FAILED(library->GetTypeInfoOfGuid(IID_IMorvane, &m_typeInfo))) m_typeInfo = nullptr;
    }
}

MorvaneObject::~MorvaneObject() {
    if (m_typeInfo != nullptr) m_typeInfo->Release();
}

HRESULT MorvaneObject::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr) return E_POINTER;
    IUnknown* face = nullptr;
    // The dual faces need the type information behind IDispatch, so they are offered only with it.
    if (m_typeInfo != nullptr && riid == IID_IMorvane) {
        face = static_cast<IMorvane*>(this);
    } else if (m_typeInfo != nullptr && riid == IID_IUnitDatabase) {
        face = static_cast<IUnitDatabase*>(this);
    } else if (m_typeInfo != nullptr && riid == IID_IDispatch) {
        face = static_cast<IMorvane*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
        face = static_cast<ISupportErrorInfo*>(this);
    } else if (riid == IID_IUnknown) {
        face = static_cast<IMorvane*>(this);
    } else {
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    face->AddRef();
    *ppvObject = face;
    return S_OK;
}

ULONG MorvaneObject::AddRef() {
    const LONG previous = m_refCount.fetch_add(1);
    if (previous == 0) ServerLock();
    return static_cast<ULONG>(previous + 1);
}

ULONG MorvaneObject::Release() {
    const LONG left = m_refCount.fetch_sub(1) - 1;
    if (left != 0) return static_cast<ULONG>(left);
    delete this;
    ServerUnlock();
    return 0;
}

HRESULT MorvaneObject::GetTypeInfoCount(UINT* pctinfo) {
    if (pctinfo == nullptr) return E_POINTER;
    *pctinfo = 1;
    return S_OK;
}

HRESULT MorvaneObject::GetTypeInfo(UINT iTInfo, LCID, ITypeInfo** ppTInfo) {
    if (ppTInfo == nullptr) return E_POINTER;
    *ppTInfo = nullptr;
    if (iTInfo != 0) return DISP_E_BADINDEX;
    if (m_typeInfo == nullptr) return TYPE_E_LIBNOTREGISTERED;
    m_typeInfo->AddRef();
    *ppTInfo = m_typeInfo;
    return S_OK;
}

HRESULT MorvaneObject::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId) {
    if (m_typeInfo == nullptr) return TYPE_E_LIBNOTREGISTERED;
    return m_typeInfo->GetIDsOfNames(rgszNames, cNames, rgDispId);
}

HRESULT MorvaneObject::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                              VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) {
    if (m_typeInfo == nullptr) return TYPE_E_LIBNOTREGISTERED;
    return m_typeInfo->Invoke(static_cast<IMorvane*>(this), dispIdMember, wFlags, pDispParams, pVarResult,
                              pExcepInfo, puArgErr);
}

HRESULT MorvaneObject::InterfaceSupportsErrorInfo(REFIID) {
    return S_OK;
}

HRESULT MorvaneObject::Initialize(BSTR sUnitDatabaseLocation) {
    return Guarded([&] {
        return Finish(IID_IMorvane, m_engine.Initialize(Utf8(sUnitDatabaseLocation)));
    });
}

HRESULT MorvaneObject::EnableDimensionalAnalysis(unsigned char bEnable) {
    return Guarded([&] {
        return Finish(IID_IMorvane, m_engine.EnableDimensionalAnalysis(bEnable != 0));
    });
}

HRESULT MorvaneObject::UnitExpression_Convert(BSTR sUnitExpressionFrom, BSTR sUnitExpressionTo, double* pdAdd,
                                              double* pdMultiplyBy) {
    if (pdAdd == nullptr || pdMultiplyBy == nullptr) return E_POINTER;
    return Guarded([&] {
        double add = 0;
        double multiplyBy = 0;
        const Result rc =
            m_engine.UnitExpression_Convert(Utf8(sUnitExpressionFrom), Utf8(sUnitExpressionTo), add, multiplyBy);
        if (rc == S_OK) {
            *pdAdd = add;
            *pdMultiplyBy = multiplyBy;
        }
        return Finish(IID_IMorvane, rc);
    });
}

HRESULT MorvaneObject::UnitExpression_Symbol(BSTR sUnitExpression, BSTR* psSymbol) {
    return ReturnText(IID_IMorvane, psSymbol,
                      [&](auto& symbol) { return m_engine.UnitExpression_Symbol(Utf8(sUnitExpression), symbol); });
}

HRESULT MorvaneObject::QuantityExpression_Convert(BSTR sUnitSystemFrom, BSTR sUnitSystemTo, BSTR sQuantityExpression,
                                                  double* pdAdd, double* pdMultiplyBy) {
    if (pdAdd == nullptr || pdMultiplyBy == nullptr) return E_POINTER;
    return Guarded([&] {
        double add = 0;
        double multiplyBy = 0;
        const Result rc = m_engine.QuantityExpression_Convert(Utf8(sUnitSystemFrom), Utf8(sUnitSystemTo),
                                                              Utf8(sQuantityExpression), add, multiplyBy);
        if (rc == S_OK) {
            *pdAdd = add;
            *pdMultiplyBy = multiplyBy;
        }
        return Finish(IID_IMorvane, rc);
    });
}

HRESULT MorvaneObject::QuantityExpression_Symbol(BSTR sUnitSystem, BSTR sQuantityExpression, BSTR* psSymbol) {
    return ReturnText(IID_IMorvane, psSymbol, [&](auto& symbol) {
        return m_engine.QuantityExpression_Symbol(Utf8(sUnitSystem), Utf8(sQuantityExpression), symbol);
    });
}

}  // namespace kestrum::component
