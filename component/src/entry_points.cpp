// The four exported entry points, the registration table, and the version query.
#include "server.h"

#include <comrt/owned.h>
#include <kestrum/KestrumLib.h>

#include <string>

using kestrum::component::ModulePath;
using kestrum::component::ModulePathWide;
using kestrum::component::ServerCount;

namespace {

enum class Value { None, Text, ModulePath, ClassId };

struct RegistryEntry {
    const char* key;  // below HKEY_CLASSES_ROOT; "{CLSID}" stands for the class identifier
    Value value;
    const char* text;
    bool removeOnUnregister;
};

// Written in this order, removed in the reverse order, so each key goes after the keys below it.
// No ThreadingModel is written: objects live in their creator's apartment.
constexpr RegistryEntry kRegistration[] = {
    {"CLSID\\{CLSID}", Value::Text, "Morvane", true},
    {"CLSID\\{CLSID}\\InprocServer32", Value::ModulePath, nullptr, true},
    {"CLSID\\{CLSID}\\ProgID", Value::Text, "KestrumLib.Morvane.1", true},
    {"CLSID\\{CLSID}\\VersionIndependentProgID", Value::Text, "KestrumLib.Morvane", true},
    {"KestrumLib.Morvane.1", Value::Text, "Morvane", true},
    {"KestrumLib.Morvane.1\\CLSID", Value::ClassId, nullptr, true},
    {"KestrumLib.Morvane", Value::Text, "Morvane", true},
    {"KestrumLib.Morvane\\CLSID", Value::ClassId, nullptr, true},
    {"KestrumLib.Morvane\\CurVer", Value::Text, "KestrumLib.Morvane.1", true},
    {"CLSID\\{CLSID}\\Implemented Categories", Value::None, nullptr, true},
    // The category of components that are safe for scripting.
    {"CLSID\\{CLSID}\\Implemented Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}", Value::None, nullptr, true},
};
constexpr int kEntries = static_cast<int>(std::size(kRegistration));

std::string classIdText() {
    OLECHAR wide[CHARS_IN_GUID];
    StringFromGUID2(CLSID_Morvane, wide, CHARS_IN_GUID);
    return comrt::ToUtf8(wide);
}

std::string keyOf(const RegistryEntry& entry) {
    std::string key = entry.key;
    if (const std::size_t at = key.find("{CLSID}"); at != std::string::npos) key.replace(at, 7, classIdText());
    return key;
}

// Creates the entry's key and sets its default value; false at any failure.
bool writeEntry(const RegistryEntry& entry, bool& keyCreated) {
    HKEY key = nullptr;
    keyCreated = RegCreateKeyExA(HKEY_CLASSES_ROOT, keyOf(entry).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS;
    if (!keyCreated) return false;
    std::string value;
    switch (entry.value) {
        case Value::None: break;
        case Value::Text: value = entry.text; break;
        case Value::ModulePath: value = ModulePath(); break;
        case Value::ClassId: value = classIdText(); break;
    }
    bool written = true;
    if (entry.value != Value::None) {
        written = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return written;
}

// Deletes the keys of entries [0, count) from the last to the first; false if any deletion failed.
bool removeEntries(int count) {
    bool removedAll = true;
    for (int i = count - 1; i >= 0; --i) {
        if (!kRegistration[i].removeOnUnregister) continue;
        removedAll = RegDeleteKeyA(HKEY_CLASSES_ROOT, keyOf(kRegistration[i]).c_str()) == ERROR_SUCCESS && removedAll;
    }
    return removedAll;
}

}  // namespace

extern "C" {

COMRT_API HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr) return E_POINTER;
    if (!(rclsid == CLSID_Morvane)) {
        *ppv = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return kestrum::component::MorvaneClassFactory().QueryInterface(riid, ppv);
}

COMRT_API HRESULT DllCanUnloadNow() {
    return ServerCount() == 0 ? S_OK : S_FALSE;
}

COMRT_API HRESULT DllRegisterServer() {
    try {
        if (ModulePath()[0] == '\0') return E_FAIL;
        // The type library is read first: a module whose library cannot be loaded registers
        // nothing, rather than class keys whose every creation would then fail.
        comrt::InterfacePtr<ITypeLib> library;
        if (const HRESULT hr = LoadTypeLib(ModulePathWide(), library.put()); FAILED(hr)) return hr;
        for (int i = 0; i < kEntries; ++i) {
            bool keyCreated = false;
            if (!writeEntry(kRegistration[i], keyCreated)) {
                removeEntries(keyCreated ? i + 1 : i);
                return E_FAIL;
            }
        }
        return RegisterTypeLib(library.get(), ModulePathWide(), nullptr);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

COMRT_API HRESULT DllUnregisterServer() {
    try {
        const bool libraryRemoved = SUCCEEDED(UnRegisterTypeLib(LIBID_KestrumLib, 1, 0, comrt::kLocaleEnglishUS, SYS_WIN32));
        const bool keysRemoved = removeEntries(kEntries);
        return libraryRemoved && keysRemoved ? S_OK : S_FALSE;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// File and product version 1.0.1.0, shown as "1.01".
COMRT_API HRESULT DllGetModuleVersion(comrt::ModuleVersion* version) {
    if (version == nullptr) return E_POINTER;
    *version = {1, 0, 1, 0};
    return S_OK;
}

}  // extern "C"
