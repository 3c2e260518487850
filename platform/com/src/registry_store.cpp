// The registry file: its location, locked read-modify-write cycles and atomic replacement.
#include "registry_store.h"

#include <comrt/registry.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace comrt {

using internal::RegistryTree;

FileSystem::~FileSystem() = default;

int FileSystem::readFile(const std::string& path, std::string& content) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    content.clear();
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            return error;
        }
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return 0;
}

int FileSystem::makeDirectories(const std::string& dir) {
    if (dir.empty()) return 0;
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    const std::size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        if (const int error = makeDirectories(dir.substr(0, slash)); error != 0) return error;
    }
    if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) return errno;
    return 0;
}

int FileSystem::createTemporary(const std::string& besidePath, unsigned mode, int& fd, std::string& tempPath) {
    tempPath = besidePath + ".XXXXXX";
    fd = ::mkstemp(tempPath.data());
    if (fd < 0) return errno;
    if (::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(tempPath.c_str());
        return error;
    }
    return 0;
}

int FileSystem::writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int FileSystem::syncFile(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

int FileSystem::closeFile(int fd) {
    return ::close(fd) == 0 ? 0 : errno;
}

int FileSystem::renameFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int FileSystem::removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int FileSystem::lockFile(const std::string& lockPath, int& handle) {
    handle = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (handle < 0) return errno;
    while (::flock(handle, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(handle);
        return error;
    }
    return 0;
}

void FileSystem::unlockFile(int handle) {
    ::flock(handle, LOCK_UN);
    ::close(handle);
}

namespace {

FileSystem g_realFileSystem;
std::atomic<FileSystem*> g_fileSystem{nullptr};
std::mutex g_faultMutex;
RegistryFault g_fault;
// Threads of one process take turns as well; the file lock orders processes.
std::mutex g_updateMutex;

FileSystem& fileSystem() {
    FileSystem* fs = g_fileSystem.load();
    return fs != nullptr ? *fs : g_realFileSystem;
}

std::string parentDirectory(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) return pw->pw_dir;
    return ".";
}

// Writes follow a symbolic link to the file it names (which need not exist yet), so the link
// itself survives.
std::string writeTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0) return path;
        std::string next(target, static_cast<std::size_t>(n));
        const std::string dir = parentDirectory(path);
        path = next.front() == '/' || dir.empty() ? next : dir + "/" + next;
    }
    return path;
}

LONG writeAtomically(const std::string& path, const std::string& content) {
    FileSystem& fs = fileSystem();
    const std::string target = writeTarget(path);
    unsigned mode = 0644;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;
    int fd = -1;
    std::string temp;
    if (fs.createTemporary(target, mode, fd, temp) != 0) return ERROR_CANTWRITE;
    bool good = fs.writeAll(fd, content) == 0;
    good = good && fs.syncFile(fd) == 0;
    good = fs.closeFile(fd) == 0 && good;
    good = good && fs.renameFile(temp, target) == 0;
    if (!good) {
        fs.removeFile(temp);
        return ERROR_CANTWRITE;
    }
    return ERROR_SUCCESS;
}

LONG readTree(const std::string& path, RegistryTree& tree, std::string* problem) {
    std::string content;
    const int error = fileSystem().readFile(path, content);
    if (error == ENOENT) {
        tree = RegistryTree();
        return ERROR_SUCCESS;
    }
    if (error != 0) {
        if (problem != nullptr) *problem = "cannot be read";
        return ERROR_CANTREAD;
    }
    return RegistryTree::parse(content, tree, problem);
}

}  // namespace

void SetFileSystem(FileSystem* fs) {
    g_fileSystem.store(fs);
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

LONG readRegistryFile(const std::string& path, RegistryTree& tree, std::string* problem) {
    return readTree(path, tree, problem);
}

LONG readRegistry(RegistryTree& tree, std::string* problem) {
    if (const LONG rc = readTree(registryFilePath(), tree, problem); rc != ERROR_SUCCESS) return rc;
    return overlayOnMachineRegistry(tree, problem);
}

LONG updateRegistry(const RegistryChange& change) {
    const std::string path = registryFilePath();
    FileSystem& fs = fileSystem();
    std::lock_guard processLock(g_updateMutex);
    if (fs.makeDirectories(parentDirectory(path)) != 0) return ERROR_CANTWRITE;
    int lockHandle = -1;
    if (fs.lockFile(path + ".lock", lockHandle) != 0) return ERROR_LOCK_FAILED;
    RegistryTree tree;
    LONG rc = readTree(path, tree, nullptr);
    bool modified = false;
    if (rc == ERROR_SUCCESS) rc = change(tree, modified);
    if (rc == ERROR_SUCCESS && modified) rc = writeAtomically(path, tree.serialize());
    fs.unlockFile(lockHandle);
    return rc;
}

LONG readDefaultValue(std::string_view keyPath, std::string& value) {
    if (const LONG fault = registryFault(RegistryOperation::QueryValue, keyPath); fault != ERROR_SUCCESS) return fault;
    RegistryTree tree;
    if (const LONG rc = readRegistry(tree); rc != ERROR_SUCCESS) return rc;
    const std::string* found = tree.value(keyPath, "");
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
    internal::RegistryTree tree;
    std::string what;
    const LONG rc = internal::readRegistryFile(internal::registryFilePath(), tree, &what);
    if (rc == ERROR_SUCCESS) return internal::overlayOnMachineRegistry(tree, problem);
    if (problem != nullptr) *problem = internal::registryFilePath() + ": " + what;
    return rc;
}

}  // namespace comrt
