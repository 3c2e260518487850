// ITypeLib and ITypeInfo over a server's exported type-library table.
#pragma once

#include "internal.h"

#include <comrt/typelib_description.h>

#include <atomic>
#include <new>

namespace comrt::internal {

inline constexpr HREFTYPE kNoType = 0xFFFFFFFF;

// The IUnknown part of an object with one interface besides it: counted references, and the
// object deleted with the last one.
template <class Interface, const IID& kInterfaceId>
class SingleInterface : public Interface {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) final;
    ULONG AddRef() final { return ++m_refs; }
    ULONG Release() final;

protected:
    SingleInterface() = default;
    virtual ~SingleInterface() = default;

private:
    std::atomic<ULONG> m_refs{1};
};

template <class Interface, const IID& kInterfaceId>
HRESULT SingleInterface<Interface, kInterfaceId>::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == kInterfaceId) {
        *ppv = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

template <class Interface, const IID& kInterfaceId>
ULONG SingleInterface<Interface, kInterfaceId>::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

class TypeLibrary final : public SingleInterface<ITypeLib, IID_ITypeLib> {
public:
    explicit TypeLibrary(const TypeLibDescription& description) : m_description(description) {}

    const TypeLibDescription& description() const { return m_description; }
    // The index of the library's type with this name or identifier; kNoType when absent.
    HREFTYPE indexOf(const OLECHAR* name) const;
    HREFTYPE indexOf(REFGUID guid) const;

    UINT GetTypeInfoCount() override { return m_description.typeCount; }
    HRESULT GetTypeInfo(UINT index, ITypeInfo** ppTInfo) override;
    HRESULT GetTypeInfoType(UINT index, TYPEKIND* pTKind) override;
    HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** ppTinfo) override;
    HRESULT GetLibAttr(TLIBATTR** ppTLibAttr) override;
    HRESULT GetDocumentation(INT index, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                             BSTR* pBstrHelpFile) override;
    void ReleaseTLibAttr(TLIBATTR* pTLibAttr) override;

private:
    const TypeLibDescription& m_description;
};

class TypeInfo final : public SingleInterface<ITypeInfo, IID_ITypeInfo> {
public:
    // Holds a reference to library for as long as it lives.
    TypeInfo(TypeLibrary* library, UINT index);

    HRESULT GetTypeAttr(TYPEATTR** ppTypeAttr) override;
    HRESULT GetFuncDesc(UINT index, FUNCDESC** ppFuncDesc) override;
    HRESULT GetVarDesc(UINT index, VARDESC** ppVarDesc) override;
    HRESULT GetNames(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) override;
    HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE* pRefType) override;
    HRESULT GetImplTypeFlags(UINT index, INT* pImplTypeFlags) override;
    HRESULT GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) override;
    HRESULT Invoke(PVOID pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS* pDispParams, VARIANT* pVarResult,
                   EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    HRESULT GetDocumentation(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                             BSTR* pBstrHelpFile) override;
    HRESULT GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo** ppTInfo) override;
    HRESULT GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) override;
    void ReleaseTypeAttr(TYPEATTR* pTypeAttr) override;
    void ReleaseFuncDesc(FUNCDESC* pFuncDesc) override;
    void ReleaseVarDesc(VARDESC* pVarDesc) override;

private:
    ~TypeInfo() override;
    const TypeDescription& type() const { return m_library->description().types[m_index]; }
    const FunctionDescription* function(MEMBERID memid) const;

    TypeLibrary* m_library;
    UINT m_index;
};

// Carries out one late-bound call of function on instance: checks and converts the arguments
// (last first in DISPPARAMS), calls the thunk, and turns a failure into DISP_E_EXCEPTION with
// pExcepInfo filled from the thread's error object when pExcepInfo is given.
HRESULT invokeFunction(const FunctionDescription& function, void* instance, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* exception, UINT* argumentError);

// A zeroed block for a description handed out, or null when allocations are made to fail.
template <typename T>
T* allocateZeroed() {
    if (!allocationAllowed()) return nullptr;
    return new (std::nothrow) T{};
}

// Sets the given places to null, as a failing GetDocumentation leaves them.
void clearDocumentation(BSTR* pName, BSTR* pDocString, BSTR* pHelpFile);
// Fills any of the given places; all-or-nothing: on E_OUTOFMEMORY none is left allocated (all null).
HRESULT documentation(const OLECHAR* name, const OLECHAR* docString, const OLECHAR* helpFile, BSTR* pName,
                      BSTR* pDocString, DWORD* pHelpContext, BSTR* pHelpFile);

}  // namespace comrt::internal
