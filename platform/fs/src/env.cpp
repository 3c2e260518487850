// The real file system behind Env.
#include <kestrum/files/env.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kestrum::files {

namespace {

int errnoOf(int rc) {
    return rc == 0 ? 0 : errno;
}

}  // namespace

Env::~Env() = default;

Env& Env::Default() {
    static Env real;
    return real;
}

int Env::stat(const std::string& path, struct stat& st) {
    return errnoOf(::stat(path.c_str(), &st));
}

int Env::lstat(const std::string& path, struct stat& st) {
    return errnoOf(::lstat(path.c_str(), &st));
}

int Env::readLink(const std::string& path, std::string& target) {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
    if (n < 0) return errno;
    if (static_cast<std::size_t>(n) >= sizeof buffer) return ENAMETOOLONG;
    target.assign(buffer, static_cast<std::size_t>(n));
    return 0;
}

int Env::canWrite(const std::string& path) {
    return errnoOf(::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS));
}

int Env::readFile(const std::string& path, std::string& content) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    // Closed also when the content cannot be held (out of memory).
    const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* f) { ::close(*f); });
    return ReadToEnd(fd, content);
}

int Env::makeDirectory(const std::string& path, unsigned mode) {
    return errnoOf(::mkdir(path.c_str(), static_cast<mode_t>(mode)));
}

int Env::listDirectory(const std::string& path, std::vector<std::string>& names) {
    // Closed also when a name cannot be stored (out of memory).
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), &::closedir);
    if (dir == nullptr) return errno;
    names.clear();
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    return 0;
}

int Env::createExclusive(const std::string& path, unsigned mode, int& fd) {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    return fd < 0 ? errno : 0;
}

int Env::openExisting(const std::string& path, int& fd) {
    fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    return fd < 0 ? errno : 0;
}

int Env::openLockFile(const std::string& path, int& fd) {
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    return fd < 0 ? errno : 0;
}

int Env::lock(int fd, bool wait) {
    while (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
        if (errno != EINTR) return errno;
    }
    return 0;
}

int Env::fstat(int fd, struct stat& st) {
    return errnoOf(::fstat(fd, &st));
}

int Env::changeOwner(int fd, uid_t owner, gid_t group) {
    return errnoOf(::fchown(fd, owner, group));
}

int Env::changeMode(int fd, unsigned mode) {
    return errnoOf(::fchmod(fd, static_cast<mode_t>(mode)));
}

int Env::write(int fd, const char* data, std::size_t size, std::size_t& written) {
    written = 0;
    for (;;) {
        const ssize_t n = ::write(fd, data, size);
        if (n >= 0) {
            written = static_cast<std::size_t>(n);
            return 0;
        }
        if (errno != EINTR) return errno;
    }
}

int Env::sync(int fd) {
    return errnoOf(::fsync(fd));
}

int Env::close(int fd) {
    return errnoOf(::close(fd));
}

int Env::rename(const std::string& from, const std::string& to) {
    return errnoOf(::rename(from.c_str(), to.c_str()));
}

int Env::unlink(const std::string& path) {
    return errnoOf(::unlink(path.c_str()));
}

int Env::syncDirectory(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = errnoOf(::fsync(fd));
    ::close(fd);
    return error;
}

bool Env::processExists(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

std::string FileError::message() const {
    char buffer[256];
    // The GNU strerror_r returns the text, which need not be in buffer.
    const char* reason = ::strerror_r(code, buffer, sizeof buffer);
    return path + ": " + reason;
}

int ReadToEnd(int fd, std::string& content) {
    std::string data;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    content = std::move(data);
    return 0;
}

}  // namespace kestrum::files
