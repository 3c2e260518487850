// Loading type libraries from modules and recording them in the registry.
#include "registry_store.h"
#include "type_library.h"

#include <charconv>
#include <new>

#include <dlfcn.h>

namespace comrt::internal {

namespace {

std::string hex(unsigned value) {
    char digits[16];
    auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
    return std::string(digits, end);
}

std::string versionKey(REFGUID libid, WORD major, WORD minor) {
    return "TypeLib\\" + guidText(libid) + "\\" + hex(major) + "." + hex(minor);
}

const char* syskindName(SYSKIND kind) {
    switch (kind) {
        case SYS_WIN16: return "win16";
        case SYS_WIN32: return "win32";
        case SYS_MAC: return "mac";
        case SYS_WIN64: return "win64";
    }
    return "win32";
}

bool sameGuidText(const std::string* text, REFGUID guid) {
    GUID parsed{};
    return text != nullptr && parseGuid(*text, parsed) && parsed == guid;
}

// Interfaces the registry should route to this library: dual and dispatch interfaces, and
// plain ones marked for automation. Interfaces the library only borrows carry no such flag.
bool registersInterface(const TYPEATTR& type) {
    if (type.typekind == TKIND_DISPATCH) return true;
    return type.typekind == TKIND_INTERFACE && (type.wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION)) != 0;
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

}  // namespace comrt::internal

using namespace comrt::internal;

extern "C" {

HRESULT LoadTypeLib(LPCOLESTR szFile, ITypeLib** pptlib) {
    return comrt::internal::guarded(E_OUTOFMEMORY, [&] {
        if (szFile == nullptr || pptlib == nullptr) return E_INVALIDARG;
        *pptlib = nullptr;
        void* module = loadModule(wideToPath(szFile));
        if (module == nullptr) return TYPE_E_CANTLOADLIBRARY;
        auto get = reinterpret_cast<comrt::GetTypeLibDescriptionFn>(::dlsym(module, comrt::kTypeLibDescriptionSymbol));
        const comrt::TypeLibDescription* description = get != nullptr ? get() : nullptr;
        if (description == nullptr) return TYPE_E_CANTLOADLIBRARY;
        if (!allocationAllowed()) return E_OUTOFMEMORY;
        auto* library = new (std::nothrow) TypeLibrary(*description);
        if (library == nullptr) return E_OUTOFMEMORY;
        *pptlib = library;
        return S_OK;
    });
}

HRESULT LoadRegTypeLib(REFGUID rguid, WORD wVerMajor, WORD wVerMinor, LCID lcid, ITypeLib** pptlib) {
    return comrt::internal::guarded(E_OUTOFMEMORY, [&] {
        if (pptlib == nullptr) return E_INVALIDARG;
        *pptlib = nullptr;
        std::shared_ptr<const RegistryTree> registry;
        const std::string libraryKey = "TypeLib\\" + guidText(rguid);
        if (registryFault(comrt::RegistryOperation::QueryValue, libraryKey) != ERROR_SUCCESS ||
            readRegistry(registry) != ERROR_SUCCESS) {
            return TYPE_E_REGISTRYACCESS;
        }
        const RegistryTree& tree = *registry;
        // The exact version, else the highest minor version above it with the same major.
        std::string version = versionKey(rguid, wVerMajor, wVerMinor);
        if (!tree.exists(version)) {
            const std::string prefix = hex(wVerMajor) + ".";
            int best = -1;
            for (const std::string& name : tree.subkeys(libraryKey)) {
                unsigned minor = 0;
                if (name.compare(0, prefix.size(), prefix) != 0) continue;
                const char* first = name.data() + prefix.size();
                const char* last = name.data() + name.size();
                auto [end, ec] = std::from_chars(first, last, minor, 16);
                if (ec != std::errc() || end != last || minor < wVerMinor || static_cast<int>(minor) <= best) continue;
                best = static_cast<int>(minor);
                version = libraryKey + "\\" + name;
            }
            if (best < 0) return TYPE_E_LIBNOTREGISTERED;
        }
        for (const std::string& locale : {hex(lcid), std::string("0")}) {
            for (const char* platform : {"win32", "win64"}) {
                const std::string* path = tree.value(version + "\\" + locale + "\\" + platform, "");
                if (path != nullptr && !path->empty()) return LoadTypeLib(pathToWide(*path).c_str(), pptlib);
            }
        }
        return TYPE_E_LIBNOTREGISTERED;
    });
}

HRESULT RegisterTypeLib(ITypeLib* ptlib, LPCOLESTR szFullPath, LPCOLESTR szHelpDir) {
    return comrt::internal::guarded(E_OUTOFMEMORY, [&] {
        if (ptlib == nullptr || szFullPath == nullptr) return E_INVALIDARG;
        TLIBATTR* attr = nullptr;
        if (HRESULT hr = ptlib->GetLibAttr(&attr); FAILED(hr)) return hr;
        const TLIBATTR lib = *attr;
        ptlib->ReleaseTLibAttr(attr);
        BSTR help = nullptr;
        if (HRESULT hr = ptlib->GetDocumentation(-1, nullptr, &help, nullptr, nullptr); FAILED(hr)) return hr;
        const std::string helpString = toUtf8(help);
        SysFreeString(help);

        struct Entry {
            std::string path;
            std::string name;
            std::string value;
        };
        std::vector<Entry> entries;
        const std::string path = wideToPath(szFullPath);
        const std::string version = versionKey(lib.guid, lib.wMajorVerNum, lib.wMinorVerNum);
        const std::string versionText = hex(lib.wMajorVerNum) + "." + hex(lib.wMinorVerNum);
        entries.push_back({version, "", helpString});
        entries.push_back({version + "\\FLAGS", "", "0"});
        entries.push_back(
            {version + "\\HELPDIR", "", szHelpDir != nullptr ? wideToPath(szHelpDir) : directoryOf(path)});
        entries.push_back({version + "\\" + hex(lib.lcid) + "\\" + syskindName(lib.syskind), "", path});
        const UINT count = ptlib->GetTypeInfoCount();
        for (UINT i = 0; i < count; ++i) {
            ITypeInfo* info = nullptr;
            if (HRESULT hr = ptlib->GetTypeInfo(i, &info); FAILED(hr)) return hr;
            TYPEATTR* typeAttr = nullptr;
            BSTR name = nullptr;
            HRESULT hr = info->GetTypeAttr(&typeAttr);
            if (SUCCEEDED(hr)) hr = info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
            if (SUCCEEDED(hr) && registersInterface(*typeAttr)) {
                const std::string key = "Interface\\" + guidText(typeAttr->guid);
                entries.push_back({key, "", toUtf8(name)});
                entries.push_back({key + "\\TypeLib", "", guidText(lib.guid)});
                entries.push_back({key + "\\TypeLib", "Version", versionText});
            }
            if (typeAttr != nullptr) info->ReleaseTypeAttr(typeAttr);
            SysFreeString(name);
            info->Release();
            if (FAILED(hr)) return hr;
        }
        for (const Entry& e : entries) {
            if (!validKeyPath(e.path) || !validValueText(e.value)) return E_INVALIDARG;
        }

        // One change of the file: the library is recorded whole or not at all.
        const LONG rc = updateRegistry([&](RegistryTree& tree, bool& modified) {
            for (const Entry& e : entries) {
                if (const LONG fault = registryFault(comrt::RegistryOperation::SetValue, e.path); fault != ERROR_SUCCESS) {
                    return fault;
                }
                tree.setValue(e.path, e.name, e.value);
            }
            modified = true;
            return ERROR_SUCCESS;
        });
        return rc == ERROR_SUCCESS ? S_OK : TYPE_E_REGISTRYACCESS;
    });
}

HRESULT UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID lcid, SYSKIND syskind) {
    return comrt::internal::guarded(E_OUTOFMEMORY, [&] {
        const std::string libraryKey = "TypeLib\\" + guidText(libID);
        const std::string version = versionKey(libID, wVerMajor, wVerMinor);
        const std::string versionText = hex(wVerMajor) + "." + hex(wVerMinor);
        const std::string locale = version + "\\" + hex(lcid);
        const std::string target = locale + "\\" + syskindName(syskind);
        bool registered = true;
        const LONG rc = updateRegistry([&](RegistryTree& tree, bool& modified) {
            if (!tree.exists(target)) {
                registered = false;
                return ERROR_SUCCESS;
            }
            std::vector<std::string> removals;
            for (const std::string& iid : tree.subkeys("Interface")) {
                const std::string key = "Interface\\" + iid;
                const std::string* owner = tree.value(key + "\\TypeLib", "");
                const std::string* ownerVersion = tree.value(key + "\\TypeLib", "Version");
                if (sameGuidText(owner, libID) && ownerVersion != nullptr && *ownerVersion == versionText) {
                    removals.push_back(key);
                }
            }
            removals.push_back(target);
            for (const std::string& key : removals) {
                if (const LONG fault = registryFault(comrt::RegistryOperation::DeleteKey, key); fault != ERROR_SUCCESS) {
                    return fault;
                }
                tree.removeTree(key);
            }
            // Remove what is left empty above the entry: the locale, the version with its own
            // FLAGS and HELPDIR, and the library key.
            if (!tree.hasSubkeys(locale)) tree.remove(locale);
            bool otherLocales = false;
            for (const std::string& child : tree.subkeys(version)) {
                const std::string lower = asciiLower(child);
                otherLocales = otherLocales || (lower != "flags" && lower != "helpdir");
            }
            if (!otherLocales) tree.removeTree(version);
            if (!tree.hasSubkeys(libraryKey)) tree.remove(libraryKey);
            modified = true;
            return ERROR_SUCCESS;
        });
        if (rc != ERROR_SUCCESS || !registered) return TYPE_E_REGISTRYACCESS;
        return S_OK;
    });
}

}  // extern "C"
