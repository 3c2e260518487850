// The machine-wide part of HKEY_CLASSES_ROOT: a registry file an installation writes for every
// user, found beside the runtime's own library, read and never written by the runtime.
#include "registry_store.h"

#include <comrt/registry.h>

#include <climits>
#include <cstdlib>

#include <dlfcn.h>

namespace comrt::internal {

namespace {

// The folder this library was loaded from; empty when it cannot be told.
std::string libraryDirectory() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&machineRegistryPath), &info) == 0 || info.dli_fname == nullptr) return {};
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved) == nullptr) return {};
    std::string path(resolved);
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string machineRegistryPath() {
    if (const char* explicitPath = std::getenv("KESTRUM_MACHINE_REGISTRY"); explicitPath != nullptr) {
        return explicitPath;
    }
    // An installation puts libcomrt in LIBDIR and this file in LIBDIR/kestrum/, so the pair
    // moves together with the prefix it was installed into.
    static const std::string beside = [] {
        const std::string dir = libraryDirectory();
        return dir.empty() ? std::string() : dir + "/kestrum/classes.reg";
    }();
    return beside;
}

LONG overlayOnMachineRegistry(RegistryTree& tree, std::string* problem) {
    const std::string path = machineRegistryPath();
    if (path.empty()) return ERROR_SUCCESS;
    RegistryTree merged;
    std::string what;
    if (const LONG rc = readRegistryFile(path, merged, &what); rc != ERROR_SUCCESS) {
        if (problem != nullptr) *problem = path + ": " + what;
        return rc;
    }
    // As the platform merges the machine's classes with the user's: where the user's file has a
    // key, that key's values are the user's alone.
    for (const std::string& key : tree.paths()) {
        merged.remove(key);
        merged.create(key);
        for (const auto& [name, data] : tree.find(key)->values) merged.setValue(key, name, data);
    }
    tree = std::move(merged);
    return ERROR_SUCCESS;
}

}  // namespace comrt::internal

namespace comrt {

std::string MachineRegistryPath() {
    return internal::machineRegistryPath();
}

}  // namespace comrt
