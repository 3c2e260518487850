// The server's frame: its count, its class factory and the path it was loaded from.
#include "server.h"

#include "morvane_object.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>

#include <dlfcn.h>

namespace kestrum::component {

namespace {

std::atomic<LONG> g_serverCount{0};

// Plain arrays, filled by the load-time constructor below before any other code of the
// module can run, so no initialisation order matters.
char g_modulePath[PATH_MAX];
OLECHAR g_modulePathWide[PATH_MAX];

// Records this file's absolute path when the library is loaded: dladdr gives the name the
// loader used, which may be relative to the directory current at load time. The path is bytes
// (a folder name need not be UTF-8); its wide form keeps them, for the type-library calls.
__attribute__((constructor)) void recordModulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&recordModulePath), &info) == 0 || info.dli_fname == nullptr) return;
    if (realpath(info.dli_fname, g_modulePath) == nullptr) return;
    try {
        const std::u16string wide = comrt::PathToWide(g_modulePath);
        if (wide.size() >= PATH_MAX) throw std::length_error("module path");
        std::copy(wide.begin(), wide.end(), g_modulePathWide);
        g_modulePathWide[wide.size()] = 0;
    } catch (...) {
        g_modulePath[0] = 0;  // no path: registration refuses to run
    }
}

class ClassFactory final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            AddRef();
            *ppvObject = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    // The factory has no count of its own: its references keep the server loaded.
    ULONG AddRef() override {
        ServerLock();
        return 2;
    }
    ULONG Release() override {
        ServerUnlock();
        return 1;
    }

    HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        *ppvObject = nullptr;  // on every failure, as for every out-parameter
        if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;
        MorvaneObject* object = nullptr;
        try {
            object = new MorvaneObject;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
        object->AddRef();
        const HRESULT hr = object->QueryInterface(riid, ppvObject);
        object->Release();  // destroys the object when the question failed
        return hr;
    }

    HRESULT LockServer(BOOL fLock) override {
        if (fLock) {
            ServerLock();
        } else {
            ServerUnlock();
        }
        return S_OK;
    }
};

ClassFactory g_classFactory;

}  // namespace

void ServerLock() {
    g_serverCount.fetch_add(1);
}

void ServerUnlock() {
    g_serverCount.fetch_sub(1);
}

LONG ServerCount() {
    return g_serverCount.load();
}

const char* ModulePath() {
    return g_modulePath;
}

const OLECHAR* ModulePathWide() {
    return g_modulePathWide;
}

IClassFactory& MorvaneClassFactory() {
    return g_classFactory;
}

}  // namespace kestrum::component
