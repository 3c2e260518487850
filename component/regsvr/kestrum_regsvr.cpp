// kestrum-regsvr: registers or unregisters an in-process component server by calling its
// exported entry points, and shows its version.
#include <comrt/comrt.h>

#include <climits>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include <dlfcn.h>

namespace {

constexpr int kExitFailed = 1;  // the server's entry point reported a failure
constexpr int kExitUsage = 2;   // bad arguments, or the module cannot be used at all

void usage(std::ostream& out) {
    out << "usage: kestrum-regsvr [-u] MODULE\n"
           "       kestrum-regsvr --version MODULE\n"
           "\n"
           "Registers the component server MODULE for this user (its DllRegisterServer), or with -u\n"
           "unregisters it (DllUnregisterServer). The registry is the file $KESTRUM_REGISTRY, else\n"
           "${XDG_DATA_HOME:-~/.local/share}/kestrum/classes.reg.\n"
           "--version prints the server's version.\n"
           "\n"
           "Exit status: 0 done, 1 the server reported a failure, 2 usage error or unusable module.\n";
}

// An existing file is opened by its absolute path, so "libkestrum.so" in the current
// directory is that file, not a search of the library path.
std::string modulePath(const char* argument) {
    char resolved[PATH_MAX];
    return realpath(argument, resolved) != nullptr ? std::string(resolved) : std::string(argument);
}

template <typename Fn>
Fn entryPoint(void* module, const char* name, const std::string& path) {
    auto fn = reinterpret_cast<Fn>(dlsym(module, name));
    if (fn == nullptr) std::cerr << "kestrum-regsvr: " << path << " has no entry point " << name << "\n";
    return fn;
}

void reportFailure(const char* what, const std::string& path, HRESULT hr) {
    // A registry that could not be written is the cause whatever code the server made of it
    // (E_FAIL, or S_FALSE from unregistration): say which file or folder, and why.
    const std::string writeProblem = comrt::RegistryWriteProblem();
    std::string meaning = comrt::ResultText(hr);
    if (!writeProblem.empty()) {
        meaning += "; the registry cannot be written";
    } else if (hr == S_FALSE) {
        meaning = "some entries were missing or could not be removed";
    }
    std::cerr << "kestrum-regsvr: " << what << " in " << path << " failed: " << comrt::ResultHex(hr) << " ("
              << meaning << ")\n";
    if (!writeProblem.empty()) std::cerr << "kestrum-regsvr: cannot write " << writeProblem << "\n";
    std::string problem;
    if (comrt::VerifyRegistry(&problem) != ERROR_SUCCESS) {
        std::cerr << "kestrum-regsvr: the registry file is damaged and was left as it is: " << problem << "\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    enum class Action { Register, Unregister, Version } action = Action::Register;
    const char* module = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            usage(std::cout);
            return 0;
        }
        if (arg == "-u" || arg == "--unregister") {
            action = Action::Unregister;
        } else if (arg == "--version") {
            action = Action::Version;
        } else if (!arg.empty() && arg.front() == '-') {
            std::cerr << "kestrum-regsvr: unknown option " << arg << "\n";
            usage(std::cerr);
            return kExitUsage;
        } else if (module == nullptr) {
            module = argv[i];
        } else {
            usage(std::cerr);
            return kExitUsage;
        }
    }
    if (module == nullptr) {
        usage(std::cerr);
        return kExitUsage;
    }

    const std::string path = modulePath(module);
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        std::cerr << "kestrum-regsvr: cannot load " << path << ": " << dlerror() << "\n";
        return kExitUsage;
    }

    if (action == Action::Version) {
        auto query = entryPoint<comrt::GetModuleVersionFn>(handle, comrt::kModuleVersionSymbol, path);
        comrt::ModuleVersion version{};
        if (query == nullptr) return kExitUsage;
        if (const HRESULT hr = query(&version); FAILED(hr)) {
            reportFailure(comrt::kModuleVersionSymbol, path, hr);
            return kExitFailed;
        }
        std::cout << comrt::FormatModuleVersion(version) << "\n";
        return 0;
    }

    const char* name = action == Action::Register ? "DllRegisterServer" : "DllUnregisterServer";
    auto entry = entryPoint<LPFNREGISTERSERVER>(handle, name, path);
    if (entry == nullptr) return kExitUsage;
    const HRESULT hr = entry();
    if (hr != S_OK) {
        // S_FALSE from unregistration: some entries were missing or could not be removed.
        reportFailure(name, path, hr);
        return kExitFailed;
    }
    std::cout << (action == Action::Register ? "Registered " : "Unregistered ") << path << " in "
              << comrt::RegistryPath() << "\n";
    return 0;
}
