// Error objects: the description a failing operation leaves for its caller.
//
// Each thread has at most one current error object. SetErrorInfo replaces it; GetErrorInfo
// hands it over to the caller and clears it (S_FALSE and a null pointer when there is none).
// The slot lives in this one shared library, so a server and its client see the same object.
#pragma once

#include <comrt/oleauto.h>

inline constexpr IID IID_IErrorInfo = {0x1CF2B120, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr IID IID_ICreateErrorInfo = {0x22F03340, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
inline constexpr IID IID_ISupportErrorInfo = {0xDF0B3D60, 0x548F, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};

struct IErrorInfo : public IUnknown {
    virtual HRESULT GetGUID(GUID* pGUID) = 0;
    virtual HRESULT GetSource(BSTR* pBstrSource) = 0;
    virtual HRESULT GetDescription(BSTR* pBstrDescription) = 0;
    virtual HRESULT GetHelpFile(BSTR* pBstrHelpFile) = 0;
    virtual HRESULT GetHelpContext(DWORD* pdwHelpContext) = 0;
};

struct ICreateErrorInfo : public IUnknown {
    virtual HRESULT SetGUID(REFGUID rguid) = 0;
    virtual HRESULT SetSource(LPOLESTR szSource) = 0;
    virtual HRESULT SetDescription(LPOLESTR szDescription) = 0;
    virtual HRESULT SetHelpFile(LPOLESTR szHelpFile) = 0;
    virtual HRESULT SetHelpContext(DWORD dwHelpContext) = 0;
};

struct ISupportErrorInfo : public IUnknown {
    virtual HRESULT InterfaceSupportsErrorInfo(REFIID riid) = 0;
};

extern "C" {
COMRT_API HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo);
// dwReserved must be 0. A null perrinfo clears the thread's error object.
COMRT_API HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo);
COMRT_API HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo);
}
