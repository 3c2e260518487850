// The registry file: its location, the parsed file reused while unchanged, locked
// read-modify-write cycles and atomic replacement.
#include "registry_store.h"

#include <comrt/registry.h>

#include <kestrum/files/replace.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <mutex>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace comrt {

using internal::RegistryTree;
using kestrum::files::Env;
using kestrum::files::FileError;

namespace {

std::atomic<Env*> g_fileEnv{nullptr};
std::mutex g_faultMutex;
RegistryFault g_fault;
// Threads of one process take turns here first, so they need one lock file descriptor each
// only in turn; the file lock orders processes.
std::mutex g_updateMutex;
thread_local std::string t_writeProblem;

Env& fileEnv() {
    Env* env = g_fileEnv.load();
    return env != nullptr ? *env : Env::Default();
}

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) return pw->pw_dir;
    return ".";
}

// What tells one version of a file from another. The rename of every write gives a new inode;
// an editor that rewrites the file in place changes its size or its times.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileIdentity& o) const {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

// 0 with the identity (exists false for a missing file), or the errno of a failed stat.
int identify(Env& env, const std::string& path, FileIdentity& id) {
    id = FileIdentity();
    struct stat st {};
    if (const int error = env.stat(path, st); error != 0) return error == ENOENT || error == ENOTDIR ? 0 : error;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modified = st.st_mtim;
    id.changed = st.st_ctim;
    return 0;
}

// File times come from a coarse clock: a file changed in place within a few milliseconds of
// being read may show the same times for two contents. Such a reading is used once and not
// kept, until the file is older than that.
bool settled(const FileIdentity& id) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto ns = [](const timespec& t) { return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec; };
    constexpr long long kGranularity = 50'000'000;  // 50 ms, well above any kernel tick
    return ns(now) - ns(id.modified) > kGranularity && ns(now) - ns(id.changed) > kGranularity;
}

LONG parseFile(Env& env, const std::string& path, RegistryTree& tree, std::string* problem) {
    std::string content;
    const int error = env.readFile(path, content);
    if (error == ENOENT || error == ENOTDIR) {
        tree = RegistryTree();
        return ERROR_SUCCESS;
    }
    if (error != 0) {
        if (problem != nullptr) *problem = FileError{error, "cannot be read"}.message();
        return ERROR_CANTREAD;
    }
    return RegistryTree::parse(content, tree, problem);
}

// One registry file as last parsed, handed out while the file stays the same: the user's, and
// the machine-wide part beneath it.
class CachedRegistryFile {
public:
    LONG read(const std::string& path, std::shared_ptr<const RegistryTree>& tree, std::string* problem) {
        Env& env = fileEnv();
        FileIdentity before;
        if (const int error = identify(env, path, before); error != 0) {
            if (problem != nullptr) *problem = FileError{error, "cannot be read"}.message();
            return ERROR_CANTREAD;
        }
        std::lock_guard lock(m_mutex);
        if (m_tree != nullptr && path == m_path && before == m_identity) {
            tree = m_tree;
            return ERROR_SUCCESS;
        }
        auto parsed = std::make_shared<RegistryTree>();
        if (const LONG rc = parseFile(env, path, *parsed, problem); rc != ERROR_SUCCESS) return rc;
        FileIdentity after;
        // Kept only when the file did not change while it was read and its times can be trusted.
        if (identify(env, path, after) == 0 && after == before && (!after.exists || settled(after))) {
            m_path = path;
            m_identity = after;
            m_tree = parsed;
        } else {
            m_tree.reset();
        }
        tree = std::move(parsed);
        return ERROR_SUCCESS;
    }

private:
    std::mutex m_mutex;
    std::string m_path;
    FileIdentity m_identity;
    std::shared_ptr<const RegistryTree> m_tree;
};

CachedRegistryFile& userRegistry() {
    static auto* cache = new CachedRegistryFile;  // used until exit, by any thread
    return *cache;
}

CachedRegistryFile& machineRegistry() {
    static auto* cache = new CachedRegistryFile;
    return *cache;
}

LONG writeFailed(const FileError& error, LONG rc) {
    t_writeProblem = error.message();
    return rc;
}

}  // namespace

void SetFileEnv(Env* env) {
    g_fileEnv.store(env);
}

void SetRegistryFault(RegistryFault fault) {
    std::lock_guard lock(g_faultMutex);
    g_fault = std::move(fault);
}

namespace internal {

std::string registryFilePath() {
    if (const char* explicitPath = std::getenv("KESTRUM_REGISTRY"); explicitPath != nullptr && explicitPath[0] != '\0') {
        return explicitPath;
    }
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        base = homeDirectory() + "/.local/share";
    }
    return base + "/kestrum/classes.reg";
}

LONG readUserRegistry(std::shared_ptr<const RegistryTree>& tree, std::string* problem) {
    return userRegistry().read(registryFilePath(), tree, problem);
}

LONG readMachineRegistry(std::shared_ptr<const RegistryTree>& tree, std::string* problem) {
    const std::string path = machineRegistryPath();
    if (path.empty()) {
        static const auto empty = std::make_shared<const RegistryTree>();
        tree = empty;
        return ERROR_SUCCESS;
    }
    return machineRegistry().read(path, tree, problem);
}

LONG readRegistry(std::shared_ptr<const RegistryTree>& tree, std::string* problem) {
    std::shared_ptr<const RegistryTree> user;
    std::shared_ptr<const RegistryTree> machine;
    if (const LONG rc = readUserRegistry(user, problem); rc != ERROR_SUCCESS) return rc;
    if (const LONG rc = readMachineRegistry(machine, problem); rc != ERROR_SUCCESS) return rc;
    tree = overlayOnMachineRegistry(user, machine);
    return ERROR_SUCCESS;
}

LONG updateRegistry(const RegistryChange& change) {
    Env& env = fileEnv();
    std::lock_guard processLock(g_updateMutex);
    t_writeProblem.clear();
    std::string target;
    if (const FileError e = kestrum::files::ResolveLinks(registryFilePath(), target, env); !e.ok()) {
        return writeFailed(e, ERROR_CANTWRITE);
    }
    if (const FileError e = kestrum::files::MakeDirectories(kestrum::files::DirectoryOf(target), env); !e.ok()) {
        return writeFailed(e, ERROR_CANTWRITE);
    }
    kestrum::files::FileLock lock(env);
    if (const FileError e = lock.Acquire(target + ".lock"); !e.ok()) return writeFailed(e, ERROR_LOCK_FAILED);
    RegistryTree tree;
    LONG rc = parseFile(env, target, tree, nullptr);
    bool modified = false;
    if (rc == ERROR_SUCCESS) rc = change(tree, modified);
    if (rc == ERROR_SUCCESS && modified) {
        if (const FileError e = kestrum::files::ReplaceFile(target, tree.serialize(), env); !e.ok()) {
            rc = writeFailed(e, e.code == ENOMEM ? ERROR_OUTOFMEMORY : ERROR_CANTWRITE);
        }
    }
    return rc;
}

LONG readDefaultValue(std::string_view keyPath, std::string& value) {
    if (const LONG fault = registryFault(RegistryOperation::QueryValue, keyPath); fault != ERROR_SUCCESS) return fault;
    std::shared_ptr<const RegistryTree> tree;
    if (const LONG rc = readRegistry(tree); rc != ERROR_SUCCESS) return rc;
    const std::string* found = tree->value(keyPath, "");
    if (found == nullptr) return ERROR_FILE_NOT_FOUND;
    value = *found;
    return ERROR_SUCCESS;
}

LONG registryFault(RegistryOperation operation, std::string_view keyPath) {
    RegistryFault fault;
    {
        std::lock_guard lock(g_faultMutex);
        fault = g_fault;
    }
    return fault ? fault(operation, keyPath) : ERROR_SUCCESS;
}

}  // namespace internal

std::string RegistryPath() {
    return internal::registryFilePath();
}

LONG VerifyRegistry(std::string* problem) {
    std::shared_ptr<const RegistryTree> tree;
    std::string what;
    LONG rc = internal::readUserRegistry(tree, &what);
    if (rc != ERROR_SUCCESS) {
        if (problem != nullptr) *problem = internal::registryFilePath() + ": " + what;
        return rc;
    }
    rc = internal::readMachineRegistry(tree, &what);
    if (rc != ERROR_SUCCESS && problem != nullptr) *problem = internal::machineRegistryPath() + ": " + what;
    return rc;
}

std::string RegistryWriteProblem() {
    return t_writeProblem;
}

}  // namespace comrt
