#include "file_io.h"

#include <atomic>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrum {

namespace {

std::atomic<files::Env*> g_saveEnv{nullptr};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

files::Env& saveEnv() {
    files::Env* env = g_saveEnv.load();
    return env != nullptr ? *env : files::Env::Default();
}

void setSaveEnvForTesting(files::Env* env) { g_saveEnv.store(env); }

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
    return files::ReadToEnd(fd.get(), m_copy) == 0;
}

}  // namespace kestrum
