#include "server_registration.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <stdlib.h>
#include <sys/wait.h>

namespace kestrum::test {

namespace {

// Lives until the process ends, so the registry outlasts every test; then it is removed.
struct ProcessFolder {
    ~ProcessFolder() {
        std::error_code ignored;
        if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
    }
    std::string dir;
    std::string registry;
};

ProcessFolder& folder() {
    static ProcessFolder f;
    return f;
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string registerOnce(const char* regsvr, const char* server) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrum-registry-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return "cannot make a temporary folder for the registry";
    folder().dir = pattern;
    folder().registry = pattern + "/classes.reg";
    ::setenv("KESTRUM_REGISTRY", folder().registry.c_str(), 1);
    const std::string command = quoted(regsvr) + " " + quoted(server) + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return "cannot run " + std::string(regsvr);
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    const int status = ::pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "could not register " + std::string(server) + ": " + output;
    return {};
}

}  // namespace

const std::string& registerServerForProcess(const char* regsvr, const char* server) {
    static const std::string outcome = registerOnce(regsvr, server);
    return outcome;
}

const std::string& processRegistry() { return folder().registry; }

}  // namespace kestrum::test
