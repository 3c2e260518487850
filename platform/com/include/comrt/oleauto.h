// Automation data: counted wide strings (BSTR), one-dimensional safe arrays of VT_BSTR and
// VT_I2, variants, and the argument and exception records of late-bound calls.
//
// Ownership follows the platform: a function that returns a BSTR or a SAFEARRAY hands it to
// the caller, who frees it with SysFreeString or SafeArrayDestroy; VariantClear frees what a
// variant owns. All routines are safe to call from any thread on distinct data.
#pragma once

#include <comrt/unknown.h>

struct IDispatch;

enum VARENUM : unsigned short {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_VOID = 24,
    VT_HRESULT = 25,
    VT_PTR = 26,
    VT_SAFEARRAY = 27,
    VT_CARRAY = 28,
    VT_USERDEFINED = 29,
    VT_LPSTR = 30,
    VT_LPWSTR = 31,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

struct SAFEARRAYBOUND {
    ULONG cElements;
    LONG lLbound;
};

// fFeatures bits.
inline constexpr USHORT FADF_HAVEVARTYPE = 0x0080;
inline constexpr USHORT FADF_BSTR = 0x0100;

struct SAFEARRAY {
    USHORT cDims;
    USHORT fFeatures;
    ULONG cbElements;
    ULONG cLocks;
    PVOID pvData;
    SAFEARRAYBOUND rgsabound[1];
};
using LPSAFEARRAY = SAFEARRAY*;

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        std::int64_t llVal;
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        FLOAT* pfltVal;
        DOUBLE* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
        PVOID byref;
        CHAR cVal;
        USHORT uiVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
    };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;
using LPVARIANTARG = VARIANT*;

// Arguments of IDispatch::Invoke, last argument first.
struct DISPPARAMS {
    VARIANTARG* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    PVOID pvReserved;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};
using LPEXCEPINFO = EXCEPINFO*;

inline constexpr WORD DISPATCH_METHOD = 0x1;
inline constexpr WORD DISPATCH_PROPERTYGET = 0x2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;

extern "C" {

// Counted wide strings. SysAllocString copies up to the terminator; SysAllocStringLen copies
// exactly len characters (zeros included) and terminates; a null source gives len zeros.
COMRT_API BSTR SysAllocString(const OLECHAR* psz);
COMRT_API BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui);
COMRT_API INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
COMRT_API void SysFreeString(BSTR bstrString);
COMRT_API UINT SysStringLen(BSTR pbstr);
COMRT_API UINT SysStringByteLen(BSTR bstr);

// Safe arrays: one dimension, elements VT_BSTR or VT_I2. Anything else is refused (null or
// E_INVALIDARG). Destroying a BSTR array frees its strings.
COMRT_API SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound);
COMRT_API SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
COMRT_API HRESULT SafeArrayDestroy(SAFEARRAY* psa);
COMRT_API UINT SafeArrayGetDim(SAFEARRAY* psa);
COMRT_API UINT SafeArrayGetElemsize(SAFEARRAY* psa);
COMRT_API HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt);
COMRT_API HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound);
COMRT_API HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound);
COMRT_API HRESULT SafeArrayLock(SAFEARRAY* psa);
COMRT_API HRESULT SafeArrayUnlock(SAFEARRAY* psa);
COMRT_API HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
COMRT_API HRESULT SafeArrayUnaccessData(SAFEARRAY* psa);
// PutElement copies: a BSTR element is duplicated, the caller keeps its own. GetElement
// likewise returns a copy that the caller frees.
COMRT_API HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);
COMRT_API HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);

COMRT_API void VariantInit(VARIANTARG* pvarg);
COMRT_API HRESULT VariantClear(VARIANTARG* pvarg);
COMRT_API HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);
// Converts pvarSrc (by value or by reference, also through a VT_VARIANT reference) to the
// by-value type vt and stores a value of its own in pvargDest, which may be pvarSrc itself:
// booleans, integers of every width, VT_R4, VT_R8 and VT_BSTR, each into each. Numbers in
// strings are read and written locale-independently (a decimal point); a real becomes an
// integer rounded to the nearest, halves to even; true is -1 (all ones for an unsigned type);
// VT_EMPTY is 0 or "". DISP_E_OVERFLOW when the value does not fit the type,
// DISP_E_TYPEMISMATCH when it has no value of that type (VT_NULL, objects, arrays, text that
// is not a number). wFlags is not used.
COMRT_API HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT wFlags, VARTYPE vt);

}  // extern "C"
