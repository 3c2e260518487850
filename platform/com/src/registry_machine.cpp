// The machine-wide part of HKEY_CLASSES_ROOT: a registry file an installation writes for every
// user, found beside the runtime's own library, read and never written by the runtime.
#include "registry_store.h"

#include <comrt/registry.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <mutex>

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

std::shared_ptr<const RegistryTree> overlayOnMachineRegistry(const std::shared_ptr<const RegistryTree>& user,
                                                             const std::shared_ptr<const RegistryTree>& machine) {
    if (machine->empty()) return user;
    // Both trees are shared while their files stay the same, so the last merge is too.
    struct LastMerge {
        std::mutex mutex;
        std::shared_ptr<const RegistryTree> user;
        std::shared_ptr<const RegistryTree> machine;
        std::shared_ptr<const RegistryTree> merged;
    };
    static auto* last = new LastMerge;  // used until exit, by any thread
    std::lock_guard lock(last->mutex);
    if (user == last->user && machine == last->machine) return last->merged;
    // As the platform merges the machine's classes with the user's: where the user's file has a
    // key, that key's values are the user's alone.
    auto merged = std::make_shared<RegistryTree>();
    merged->overlay(*machine);
    merged->overlay(*user);
    last->user = user;
    last->machine = machine;
    last->merged = merged;
    return merged;
}

}  // namespace comrt::internal

namespace comrt {

std::string MachineRegistryPath() {
    return internal::machineRegistryPath();
}

}  // namespace comrt
