// Error objects and the per-thread current error object.
#include "internal.h"

#include <atomic>
#include <new>

namespace {

class ErrorObject final : public IErrorInfo, public ICreateErrorInfo {
public:
    // IUnknown, shared by both faces.
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
            *ppv = static_cast<IErrorInfo*>(this);
        } else if (riid == IID_ICreateErrorInfo) {
            *ppv = static_cast<ICreateErrorInfo*>(this);
        } else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    // IErrorInfo
    HRESULT GetGUID(GUID* pGUID) override {
        if (pGUID == nullptr) return E_INVALIDARG;
        *pGUID = m_guid;
        return S_OK;
    }
    HRESULT GetSource(BSTR* out) override { return copyOut(m_source, out); }
    HRESULT GetDescription(BSTR* out) override { return copyOut(m_description, out); }
    HRESULT GetHelpFile(BSTR* out) override { return copyOut(m_helpFile, out); }
    HRESULT GetHelpContext(DWORD* pdw) override {
        if (pdw == nullptr) return E_INVALIDARG;
        *pdw = m_helpContext;
        return S_OK;
    }

    // ICreateErrorInfo
    HRESULT SetGUID(REFGUID rguid) override {
        m_guid = rguid;
        return S_OK;
    }
    HRESULT SetSource(LPOLESTR text) override { return store(m_source, text); }
    HRESULT SetDescription(LPOLESTR text) override { return store(m_description, text); }
    HRESULT SetHelpFile(LPOLESTR text) override { return store(m_helpFile, text); }
    HRESULT SetHelpContext(DWORD context) override {
        m_helpContext = context;
        return S_OK;
    }

private:
    ~ErrorObject() {
        SysFreeString(m_source);
        SysFreeString(m_description);
        SysFreeString(m_helpFile);
    }

    static HRESULT copyOut(BSTR value, BSTR* out) {
        if (out == nullptr) return E_INVALIDARG;
        *out = nullptr;
        if (value == nullptr) return S_OK;
        *out = SysAllocStringLen(value, SysStringLen(value));
        return *out == nullptr ? E_OUTOFMEMORY : S_OK;
    }
    static HRESULT store(BSTR& field, LPOLESTR text) {
        BSTR copy = nullptr;
        if (text != nullptr) {
            copy = SysAllocString(text);
            if (copy == nullptr) return E_OUTOFMEMORY;
        }
        SysFreeString(field);
        field = copy;
        return S_OK;
    }

    std::atomic<ULONG> m_refs{1};
    GUID m_guid{};
    BSTR m_source = nullptr;
    BSTR m_description = nullptr;
    BSTR m_helpFile = nullptr;
    DWORD m_helpContext = 0;
};

// Releases whatever the thread still holds when it ends.
struct CurrentError {
    IErrorInfo* info = nullptr;
    ~CurrentError() {
        if (info != nullptr) info->Release();
    }
};
thread_local CurrentError t_current;

}  // namespace

extern "C" {

HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo) {
    if (pperrinfo == nullptr) return E_INVALIDARG;
    *pperrinfo = nullptr;
    if (!comrt::internal::allocationAllowed()) return E_OUTOFMEMORY;
    auto* object = new (std::nothrow) ErrorObject;
    if (object == nullptr) return E_OUTOFMEMORY;
    *pperrinfo = object;
    return S_OK;
}

HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo) {
    if (dwReserved != 0) return E_INVALIDARG;
    if (perrinfo != nullptr) perrinfo->AddRef();
    IErrorInfo* previous = t_current.info;
    t_current.info = perrinfo;
    if (previous != nullptr) previous->Release();
    return S_OK;
}

HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo) {
    if (dwReserved != 0 || pperrinfo == nullptr) return E_INVALIDARG;
    *pperrinfo = t_current.info;
    t_current.info = nullptr;
    return *pperrinfo != nullptr ? S_OK : S_FALSE;
}

}  // extern "C"
