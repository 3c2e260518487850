// Basic types, identifiers and status codes of the component runtime.
//
// Everything sits in the global namespace with the platform's names and sizes, so code written
// for the platform's component runtime compiles unchanged. Status codes are typed constants,
// never macros: they must not collide with the engine's kestrum::S_OK and friends, which share
// names and values.
#pragma once

#include <cstdint>
#include <string>

#define COMRT_API __attribute__((visibility("default")))

using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using USHORT = std::uint16_t;
using SHORT = std::int16_t;
using BYTE = std::uint8_t;
using CHAR = char;
using INT = int;
using UINT = unsigned int;
using BOOL = int;
using LCID = DWORD;
using DISPID = LONG;
using MEMBERID = DISPID;
using HREFTYPE = DWORD;
using REGSAM = DWORD;
using VARTYPE = unsigned short;
using VARIANT_BOOL = short;
using DOUBLE = double;
using FLOAT = float;
using PVOID = void*;
using LPVOID = void*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;

// Wide text is UTF-16 in char16_t; write u"" where the platform writes L"".
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
// A counted wide string: a 32-bit byte count stored just before the first character, and a
// terminating zero after the last.
using BSTR = OLECHAR*;

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using LPGUID = GUID*;
using LPCLSID = CLSID*;
using LPIID = IID*;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

constexpr bool IsEqualGUID(REFGUID a, REFGUID b) noexcept {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) return false;
    }
    return true;
}
constexpr bool IsEqualIID(REFIID a, REFIID b) noexcept { return IsEqualGUID(a, b); }
constexpr bool IsEqualCLSID(REFCLSID a, REFCLSID b) noexcept { return IsEqualGUID(a, b); }
constexpr bool operator==(REFGUID a, REFGUID b) noexcept { return IsEqualGUID(a, b); }

inline constexpr IID IID_NULL{};
inline constexpr CLSID CLSID_NULL{};
inline constexpr GUID GUID_NULL{};

constexpr bool SUCCEEDED(HRESULT hr) noexcept { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) noexcept { return hr < 0; }
constexpr HRESULT HRESULT_FROM_WIN32(LONG error) noexcept {
    return error <= 0 ? error
                      : static_cast<HRESULT>((static_cast<std::uint32_t>(error) & 0xFFFFu) | 0x80070000u);
}

namespace comrt::detail {
constexpr HRESULT hr(std::uint32_t bits) noexcept { return static_cast<HRESULT>(bits); }
}  // namespace comrt::detail

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = comrt::detail::hr(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = comrt::detail::hr(0x80004002u);
inline constexpr HRESULT E_POINTER = comrt::detail::hr(0x80004003u);
inline constexpr HRESULT E_ABORT = comrt::detail::hr(0x80004004u);
inline constexpr HRESULT E_FAIL = comrt::detail::hr(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = comrt::detail::hr(0x8000FFFFu);
inline constexpr HRESULT E_ACCESSDENIED = comrt::detail::hr(0x80070005u);
inline constexpr HRESULT E_HANDLE = comrt::detail::hr(0x80070006u);
inline constexpr HRESULT E_OUTOFMEMORY = comrt::detail::hr(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = comrt::detail::hr(0x80070057u);

inline constexpr HRESULT CLASS_E_NOAGGREGATION = comrt::detail::hr(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = comrt::detail::hr(0x80040111u);
inline constexpr HRESULT REGDB_E_READREGDB = comrt::detail::hr(0x80040150u);
inline constexpr HRESULT REGDB_E_WRITEREGDB = comrt::detail::hr(0x80040151u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = comrt::detail::hr(0x80040154u);
inline constexpr HRESULT CO_E_NOTINITIALIZED = comrt::detail::hr(0x800401F0u);
inline constexpr HRESULT CO_E_CLASSSTRING = comrt::detail::hr(0x800401F3u);
inline constexpr HRESULT CO_E_DLLNOTFOUND = comrt::detail::hr(0x800401F8u);
inline constexpr HRESULT CO_E_ERRORINDLL = comrt::detail::hr(0x800401F9u);
inline constexpr HRESULT SELFREG_E_TYPELIB = comrt::detail::hr(0x80040200u);
inline constexpr HRESULT SELFREG_E_CLASS = comrt::detail::hr(0x80040201u);

inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = comrt::detail::hr(0x80020001u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = comrt::detail::hr(0x80020003u);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = comrt::detail::hr(0x80020004u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = comrt::detail::hr(0x80020005u);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = comrt::detail::hr(0x80020006u);
inline constexpr HRESULT DISP_E_NONAMEDARGS = comrt::detail::hr(0x80020007u);
inline constexpr HRESULT DISP_E_BADVARTYPE = comrt::detail::hr(0x80020008u);
inline constexpr HRESULT DISP_E_EXCEPTION = comrt::detail::hr(0x80020009u);
inline constexpr HRESULT DISP_E_OVERFLOW = comrt::detail::hr(0x8002000Au);
inline constexpr HRESULT DISP_E_BADINDEX = comrt::detail::hr(0x8002000Bu);
inline constexpr HRESULT DISP_E_ARRAYISLOCKED = comrt::detail::hr(0x8002000Du);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = comrt::detail::hr(0x8002000Eu);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = comrt::detail::hr(0x8002000Fu);

inline constexpr HRESULT TYPE_E_REGISTRYACCESS = comrt::detail::hr(0x8002801Cu);
inline constexpr HRESULT TYPE_E_LIBNOTREGISTERED = comrt::detail::hr(0x8002801Du);
inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = comrt::detail::hr(0x8002802Bu);
inline constexpr HRESULT TYPE_E_CANTLOADLIBRARY = comrt::detail::hr(0x80029C4Au);

namespace comrt {
// A short English meaning of a status code, for messages ("Unspecified error" for E_FAIL);
// "Unknown error" for codes the runtime does not know.
COMRT_API std::string ResultText(HRESULT hr);
// The code as "0x" and eight upper-case hexadecimal digits ("0x80004005").
COMRT_API std::string ResultHex(HRESULT hr);
}  // namespace comrt
