// Points the runtime at a registry file of the test's own for as long as it lives, so no test
// touches the user's registry and test cases running in parallel processes never share one.
#pragma once

#include <comrt/comrt.h>
#include <comrt/owned.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

#include <stdlib.h>

namespace comrt_test {

class ScopedRegistry {
public:
    ScopedRegistry() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrum-registry-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
        m_path = m_dir + "/classes.reg";
        if (const char* old = std::getenv("KESTRUM_REGISTRY")) m_previous = old;
        ::setenv("KESTRUM_REGISTRY", m_path.c_str(), 1);
    }
    ~ScopedRegistry() {
        if (m_previous) {
            ::setenv("KESTRUM_REGISTRY", m_previous->c_str(), 1);
        } else {
            ::unsetenv("KESTRUM_REGISTRY");
        }
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

    const std::string& path() const { return m_path; }
    const std::string& dir() const { return m_dir; }

    std::string text() const {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void write(const std::string& content) const { std::ofstream(m_path, std::ios::binary) << content; }

    // The key paths (below HKEY_CLASSES_ROOT) that have a section in the file.
    std::set<std::string> keys() const {
        std::set<std::string> found;
        const std::string prefix = "[HKEY_CLASSES_ROOT\\";
        std::string all = text();
        std::size_t pos = 0;
        while ((pos = all.find(prefix, pos)) != std::string::npos) {
            const std::size_t end = all.find("]\n", pos);
            found.insert(all.substr(pos + prefix.size(), end - pos - prefix.size()));
            pos = end;
        }
        return found;
    }

private:
    std::string m_dir;
    std::string m_path;
    std::optional<std::string> m_previous;
};

// Sets a key's default value, creating the key; false on any failure.
inline bool setDefault(const std::string& key, const std::string& value) {
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const LONG rc = RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

// The value of a key named name (its default value when name is null): "<missing>" when there
// is no such value, noKey when there is no such key.
inline std::string queryValue(const std::string& key, const char* name, const char* noKey = "<missing>") {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return noKey;
    char buffer[4096];
    DWORD size = sizeof buffer;
    const LONG rc = RegQueryValueExA(h, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS ? std::string(buffer) : "<missing>";
}

// The default value of a key, or "<missing>".
inline std::string queryDefault(const std::string& key) { return queryValue(key, nullptr); }

inline std::u16string wide(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// The runtime's own owning helpers, under the names these tests have always used.
template <typename T>
using Ref = comrt::InterfacePtr<T>;
using Bstr = comrt::OwnedBstr;

}  // namespace comrt_test
