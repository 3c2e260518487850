#include "file_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrum {

namespace {

std::size_t g_writeLimit = std::string::npos;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows symbolic links (also dangling ones) to the path that is finally written.
bool resolveLinks(std::string path, std::string& target) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = path;
            return true;
        }
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
        if (n < 0) return false;
        const std::string link(buf, static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : directoryOf(path) + "/" + link;
    }
    return false;  // a loop of links
}

bool writeAll(int fd, std::string_view data) {
    std::size_t written = 0;
    while (written < data.size()) {
        std::size_t chunk = data.size() - written;
        if (g_writeLimit != std::string::npos) {
            if (written >= g_writeLimit) {
                errno = ENOSPC;
                return false;
            }
            chunk = std::min(chunk, g_writeLimit - written);
        }
        const ssize_t n = ::write(fd, data.data() + written, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

}  // namespace

void setWriteLimitForTesting(std::size_t bytes) { g_writeLimit = bytes; }

FileContent::~FileContent() {
    if (m_mapped) ::munmap(const_cast<char*>(m_mapped), m_size);
}

bool FileContent::open(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return false;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (st.st_size > 0) {
        // Mapped and populated in one call: no page faults while the parser walks it.
        void* mapped = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE,
                              fd.get(), 0);
        if (mapped != MAP_FAILED) {
            m_mapped = static_cast<const char*>(mapped);
            m_size = static_cast<std::size_t>(st.st_size);
            return true;
        }
    }
    std::string data;
    char buf[65536];
    while (true) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        data.append(buf, static_cast<std::size_t>(n));
    }
    m_copy = std::move(data);
    return true;
}

bool replaceFileAtomically(const std::string& path, std::string_view content) {
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    std::string target;
    if (!resolveLinks(path, target)) return false;
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;

    std::string temp = directoryOf(target) + "/.kestrum-save-XXXXXX";
    FileDescriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0) return false;
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    bool ok = ::fchmod(fd.get(), mode) == 0;
    if (ok && exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        [[maybe_unused]] const int ignored = ::fchown(fd.get(), old.st_uid, old.st_gid);  // best effort
    }
    ok = ok && writeAll(fd.get(), content) && ::fsync(fd.get()) == 0;
    ok = ::close(fd.release()) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    const FileDescriptor dir(::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return true;
}

}  // namespace kestrum
