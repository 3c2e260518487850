// The registry calls on HKEY_CLASSES_ROOT.
#include "internal.h"
#include "registry_store.h"

#include <comrt/registry.h>

#include <cstring>
#include <new>

struct HKEY__ {
    std::string path;  // below HKEY_CLASSES_ROOT; empty for the root itself
};

namespace {

HKEY__ g_root;

using comrt::RegistryOperation;
using comrt::internal::readRegistry;
using comrt::internal::registryFault;
using comrt::internal::RegistryTree;
using comrt::internal::updateRegistry;
using comrt::internal::validKeyPath;

// The full path of subKey below hKey; false when the result is not a valid key path.
bool fullPath(HKEY hKey, LPCSTR subKey, std::string& path) {
    if (hKey == nullptr) return false;
    path = hKey->path;
    if (subKey != nullptr && subKey[0] != '\0') {
        if (!path.empty()) path += '\\';
        path += subKey;
    }
    return path.empty() || validKeyPath(path);
}

LONG newHandle(std::string path, PHKEY phkResult) {
    auto* key = new (std::nothrow) HKEY__{std::move(path)};
    if (key == nullptr) return ERROR_OUTOFMEMORY;
    *phkResult = key;
    return ERROR_SUCCESS;
}

}  // namespace

extern "C" {

HKEY const HKEY_CLASSES_ROOT = &g_root;

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM, const LPSECURITY_ATTRIBUTES,
                     PHKEY phkResult, LPDWORD lpdwDisposition) {
    return comrt::internal::guarded(ERROR_OUTOFMEMORY, [&] {
        std::string path;
        if (phkResult == nullptr || !fullPath(hKey, lpSubKey, path)) return ERROR_INVALID_PARAMETER;
        if (const LONG fault = registryFault(RegistryOperation::CreateKey, path); fault != ERROR_SUCCESS) return fault;
        bool created = false;
        if (!path.empty()) {
            const LONG rc = updateRegistry([&](RegistryTree& tree, bool& modified) {
                created = !tree.exists(path);
                modified = tree.create(path);
                return ERROR_SUCCESS;
            });
            if (rc != ERROR_SUCCESS) return rc;
        }
        if (lpdwDisposition != nullptr) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        return newHandle(std::move(path), phkResult);
    });
}

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
    return comrt::internal::guarded(ERROR_OUTOFMEMORY, [&] {
        std::string path;
        if (phkResult == nullptr || !fullPath(hKey, lpSubKey, path)) return ERROR_INVALID_PARAMETER;
        if (const LONG fault = registryFault(RegistryOperation::OpenKey, path); fault != ERROR_SUCCESS) return fault;
        if (!path.empty()) {
            std::shared_ptr<const RegistryTree> tree;
            if (const LONG rc = readRegistry(tree); rc != ERROR_SUCCESS) return rc;
            if (!tree->exists(path)) return ERROR_FILE_NOT_FOUND;
        }
        return newHandle(std::move(path), phkResult);
    });
}

LONG RegCloseKey(HKEY hKey) {
    if (hKey == nullptr) return ERROR_INVALID_HANDLE;
    if (hKey != HKEY_CLASSES_ROOT) delete hKey;
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    return comrt::internal::guarded(ERROR_OUTOFMEMORY, [&] {
        if (hKey == nullptr) return ERROR_INVALID_HANDLE;
        if (dwType != REG_SZ || (lpData == nullptr && cbData != 0)) return ERROR_INVALID_PARAMETER;
        const std::string& path = hKey->path;
        if (path.empty()) return ERROR_ACCESS_DENIED;
        const char* text = reinterpret_cast<const char*>(lpData);
        const std::string data(text, cbData == 0 ? 0 : strnlen(text, cbData));
        const std::string name = lpValueName == nullptr ? std::string() : std::string(lpValueName);
        if (!comrt::internal::validValueText(data) || !comrt::internal::validValueText(name)) {
            return ERROR_INVALID_PARAMETER;
        }
        if (const LONG fault = registryFault(RegistryOperation::SetValue, path); fault != ERROR_SUCCESS) return fault;
        return updateRegistry([&](RegistryTree& tree, bool& modified) {
            if (!tree.exists(path)) return ERROR_KEY_DELETED;
            const std::string* old = tree.value(path, name);
            if (old != nullptr && *old == data) return ERROR_SUCCESS;
            tree.setValue(path, name, data);
            modified = true;
            return ERROR_SUCCESS;
        });
    });
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    return comrt::internal::guarded(ERROR_OUTOFMEMORY, [&] {
        if (hKey == nullptr) return ERROR_INVALID_HANDLE;
        if (lpData != nullptr && lpcbData == nullptr) return ERROR_INVALID_PARAMETER;
        const std::string& path = hKey->path;
        if (const LONG fault = registryFault(RegistryOperation::QueryValue, path); fault != ERROR_SUCCESS) return fault;
        std::shared_ptr<const RegistryTree> tree;
        if (const LONG rc = readRegistry(tree); rc != ERROR_SUCCESS) return rc;
        if (!path.empty() && !tree->exists(path)) return ERROR_KEY_DELETED;
        const std::string* value = tree->value(path, lpValueName == nullptr ? "" : lpValueName);
        if (value == nullptr) return ERROR_FILE_NOT_FOUND;
        const DWORD needed = static_cast<DWORD>(value->size() + 1);
        if (lpType != nullptr) *lpType = REG_SZ;
        if (lpData == nullptr) {
            if (lpcbData != nullptr) *lpcbData = needed;
            return ERROR_SUCCESS;
        }
        if (*lpcbData < needed) {
            *lpcbData = needed;
            return ERROR_MORE_DATA;
        }
        std::memcpy(lpData, value->c_str(), needed);
        *lpcbData = needed;
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
    return comrt::internal::guarded(ERROR_OUTOFMEMORY, [&] {
        std::string path;
        if (lpSubKey == nullptr || lpSubKey[0] == '\0' || !fullPath(hKey, lpSubKey, path)) {
            return ERROR_INVALID_PARAMETER;
        }
        if (const LONG fault = registryFault(RegistryOperation::DeleteKey, path); fault != ERROR_SUCCESS) return fault;
        return updateRegistry([&](RegistryTree& tree, bool& modified) {
            if (tree.hasSubkeys(path)) return ERROR_ACCESS_DENIED;
            modified = tree.remove(path);
            return modified ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        });
    });
}

LONG RegDeleteTreeA(HKEY hKey, LPCSTR lpSubKey) {
    return comrt::internal::guarded(ERROR_OUTOFMEMORY, [&] {
        std::string path;
        if (!fullPath(hKey, lpSubKey, path) || path.empty()) return ERROR_INVALID_PARAMETER;
        if (const LONG fault = registryFault(RegistryOperation::DeleteKey, path); fault != ERROR_SUCCESS) return fault;
        return updateRegistry([&](RegistryTree& tree, bool& modified) {
            modified = tree.removeTree(path);
            return modified ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        });
    });
}

}  // extern "C"
