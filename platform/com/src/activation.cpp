// Apartments, module loading, class objects and instance creation, identifiers in text.
#include "internal.h"
#include "registry_store.h"

#include <map>
#include <mutex>

#include <climits>
#include <cstdlib>
#include <dlfcn.h>

namespace comrt::internal {

namespace {

std::mutex g_modulesMutex;
std::map<std::string, void*>& modules() {
    static auto* loaded = new std::map<std::string, void*>;  // lives until exit, like the modules
    return *loaded;
}

thread_local int t_apartmentInits = 0;

}  // namespace

// Modules are opened once per process and never closed: objects, class factories and type
// information handed out from them may outlive any count we could keep here.
void* loadModule(const std::string& path) {
    char resolved[PATH_MAX];
    const std::string key = ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
    std::lock_guard lock(g_modulesMutex);
    auto it = modules().find(key);
    if (it != modules().end()) return it->second;
    void* handle = ::dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) modules().emplace(key, handle);
    return handle;
}

}  // namespace comrt::internal

using namespace comrt::internal;

extern "C" {

HRESULT CoInitialize(LPVOID pvReserved) {
    if (pvReserved != nullptr) return E_INVALIDARG;
    return t_apartmentInits++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (t_apartmentInits > 0) --t_apartmentInits;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID, REFIID riid, LPVOID* ppv) {
    return comrt::internal::guarded(E_OUTOFMEMORY, [&] {
        if (ppv == nullptr) return E_INVALIDARG;
        *ppv = nullptr;
        if (t_apartmentInits == 0) return CO_E_NOTINITIALIZED;
        if ((dwClsContext & (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER)) == 0) {
            return REGDB_E_CLASSNOTREG;
        }
        std::string path;
        const LONG rc = readDefaultValue("CLSID\\" + guidText(rclsid) + "\\InprocServer32", path);
        if (rc == ERROR_FILE_NOT_FOUND) return REGDB_E_CLASSNOTREG;
        if (rc != ERROR_SUCCESS) return REGDB_E_READREGDB;
        if (path.empty()) return REGDB_E_CLASSNOTREG;
        void* module = loadModule(path);
        if (module == nullptr) return CO_E_DLLNOTFOUND;
        auto getClassObject = reinterpret_cast<LPFNGETCLASSOBJECT>(::dlsym(module, "DllGetClassObject"));
        if (getClassObject == nullptr) return CO_E_ERRORINDLL;
        return getClassObject(rclsid, riid, ppv);
    });
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    factory->Release();
    return hr;
}

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid) {
    return comrt::internal::guarded(E_OUTOFMEMORY, [&] {
        if (lpszProgID == nullptr || lpclsid == nullptr) return E_INVALIDARG;
        const std::string progId = toUtf8(lpszProgID);
        if (progId.empty() || progId.find('\\') != std::string::npos) return CO_E_CLASSSTRING;
        std::string text;
        LONG rc = readDefaultValue(progId + "\\CLSID", text);
        if (rc == ERROR_FILE_NOT_FOUND) {
            std::string current;
            rc = readDefaultValue(progId + "\\CurVer", current);
            if (rc == ERROR_SUCCESS) {
                rc = current.empty() || current.find('\\') != std::string::npos
                         ? ERROR_FILE_NOT_FOUND
                         : readDefaultValue(current + "\\CLSID", text);
            }
        }
        if (rc == ERROR_FILE_NOT_FOUND) return CO_E_CLASSSTRING;
        if (rc != ERROR_SUCCESS) return REGDB_E_READREGDB;
        GUID clsid{};
        if (!parseGuid(text, clsid)) return CO_E_CLASSSTRING;
        *lpclsid = clsid;
        return S_OK;
    });
}

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
    return comrt::internal::guarded(E_OUTOFMEMORY, [&] {
        if (pclsid == nullptr) return E_INVALIDARG;
        if (lpsz == nullptr) {
            *pclsid = CLSID_NULL;
            return S_OK;
        }
        GUID clsid{};
        if (!parseGuid(toUtf8(lpsz), clsid)) return CO_E_CLASSSTRING;
        *pclsid = clsid;
        return S_OK;
    });
}

int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
    return comrt::internal::guarded(0, [&] {
        if (lpsz == nullptr || cchMax < CHARS_IN_GUID) return 0;
        const std::string text = guidText(rguid);
        for (std::size_t i = 0; i < text.size(); ++i) lpsz[i] = static_cast<OLECHAR>(text[i]);
        lpsz[text.size()] = 0;
        return CHARS_IN_GUID;
    });
}

}  // extern "C"
