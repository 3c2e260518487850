// Apartments, activation and identifiers.
//
// Only in-process servers exist: a class is found under CLSID\{clsid}\InprocServer32 in the
// registry (<comrt/registry.h>), its module is loaded once per process and never unloaded, and
// its exported DllGetClassObject gives the class object. Any context that includes
// CLSCTX_INPROC_SERVER, CLSCTX_INPROC_HANDLER or CLSCTX_LOCAL_SERVER is served that way.
// Every call into an object is direct; an apartment is only a per-thread initialisation count.
#pragma once

#include <comrt/unknown.h>

#include <string>

enum CLSCTX : DWORD {
    CLSCTX_INPROC_SERVER = 0x1,
    CLSCTX_INPROC_HANDLER = 0x2,
    CLSCTX_LOCAL_SERVER = 0x4,
    CLSCTX_REMOTE_SERVER = 0x10,
    CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
    CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
    CLSCTX_ALL = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
};

// The number of characters StringFromGUID2 writes, terminator included.
inline constexpr int CHARS_IN_GUID = 39;

extern "C" {
// S_OK for the thread's first call, S_FALSE for each further one; balance every call that
// succeeds with CoUninitialize.
COMRT_API HRESULT CoInitialize(LPVOID pvReserved);
COMRT_API void CoUninitialize();

// REGDB_E_CLASSNOTREG: the class is not registered; REGDB_E_READREGDB: the registry file cannot
// be read or is damaged; CO_E_DLLNOTFOUND: the module cannot be loaded; CO_E_ERRORINDLL: it
// has no DllGetClassObject; CO_E_NOTINITIALIZED: the thread has not called CoInitialize.
COMRT_API HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pvReserved, REFIID riid,
                                   LPVOID* ppv);
COMRT_API HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid,
                                   LPVOID* ppv);

// Follows ProgID\CLSID, or ProgID\CurVer to the current version's CLSID.
// CO_E_CLASSSTRING: no such program identifier.
COMRT_API HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid);
// Reads "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (either case); CO_E_CLASSSTRING otherwise.
COMRT_API HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
// Writes the braced upper-case form; returns the characters written including the terminator,
// or 0 when cchMax is below CHARS_IN_GUID.
COMRT_API int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);
}

namespace comrt {
// A server module's version as its exported DllGetModuleVersion gives it (file version 1.0.1.0
// is {1, 0, 1, 0}).
struct ModuleVersion {
    WORD major;
    WORD minor;
    WORD build;
    WORD revision;
};
using GetModuleVersionFn = HRESULT (*)(ModuleVersion* version);
inline constexpr char kModuleVersionSymbol[] = "DllGetModuleVersion";
// The short form shown to people: major "." minor with the build's digits right after
// ("1.01" for 1.0.1.0), and "." revision when that is not 0.
COMRT_API std::string FormatModuleVersion(const ModuleVersion& version);
}  // namespace comrt
