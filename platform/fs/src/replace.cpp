// Atomic replacement of a file, and the removal of what dead writers left behind.
#include <kestrum/files/replace.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <mutex>
#include <new>
#include <set>

#include <unistd.h>

namespace kestrum::files {

namespace {

std::atomic<unsigned long> g_sequence{0};

// The temporary files this process is writing right now. Another thread's file is not a
// leftover even in the moment between its creation and its lock.
std::mutex g_activeMutex;
std::set<std::string>& activeTemporaries() {
    static auto* active = new std::set<std::string>;  // outlives every writer, also at exit
    return *active;
}

// The temporary file of one replacement: named in the set of active ones before it exists (so
// no thread of ours takes it for a leftover even before it is locked), and closed and removed
// unless it was renamed into place.
class Temporary {
public:
    explicit Temporary(Env& env) : m_env(env) {}
    ~Temporary() { discard(); }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    // Claims path and creates it; EEXIST when the name is taken.
    int create(std::string path, unsigned mode) {
        discard();
        {
            std::lock_guard lock(g_activeMutex);
            activeTemporaries().insert(path);
        }
        m_path = std::move(path);
        const int error = m_env.createExclusive(m_path, mode, m_fd);
        if (error != 0) {
            m_fd = -1;
            forget();
        }
        return error;
    }
    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    int close() {
        const int error = m_env.close(m_fd);
        m_fd = -1;
        return error;
    }
    // The file has been renamed into place: nothing to remove any more.
    void keep() { forget(); }

private:
    void discard() {
        if (m_fd >= 0) m_env.close(m_fd);
        m_fd = -1;
        if (!m_path.empty()) m_env.unlink(m_path);
        forget();
    }
    void forget() {
        if (m_path.empty()) return;
        std::lock_guard lock(g_activeMutex);
        activeTemporaries().erase(m_path);
        m_path.clear();
    }

    Env& m_env;
    std::string m_path;
    int m_fd = -1;
};

bool isActive(const std::string& path) {
    std::lock_guard lock(g_activeMutex);
    return activeTemporaries().count(path) != 0;
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string join(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The writer's process id from a temporary file's name; 0 when the name is not one of ours.
pid_t writerOf(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    long pid = 0;
    const auto [end, ec] = std::from_chars(first, last, pid);
    if (ec != std::errc() || end == last || *end != '-' || pid <= 0) return 0;
    return static_cast<pid_t>(pid);
}

// A leftover is a temporary file whose writer is gone: no live process of that id (or, for our
// own id, no thread of ours writing it), and nobody holding its lock. A file we cannot open to
// probe the lock (another user's, mode 0600) goes on the process test alone.
void removeLeftovers(const std::string& folder, const std::string& prefix, Env& env) {
    std::vector<std::string> names;
    if (env.listDirectory(folder, names) != 0) return;
    const pid_t self = ::getpid();
    for (const std::string& name : names) {
        const pid_t writer = writerOf(name, prefix);
        if (writer == 0) continue;
        const std::string path = join(folder, name);
        if (writer == self ? isActive(path) : env.processExists(writer)) continue;
        struct stat st {};
        if (env.lstat(path, st) != 0 || !S_ISREG(st.st_mode)) continue;
        int fd = -1;
        const int opened = env.openExisting(path, fd);
        if (opened == 0 && env.lock(fd, false) != 0) {
            env.close(fd);
            continue;
        }
        if (opened != 0 && opened != EACCES) continue;
        env.unlink(path);
        if (fd >= 0) env.close(fd);
    }
}

int writeAll(Env& env, int fd, std::string_view content) {
    while (!content.empty()) {
        std::size_t written = 0;
        if (const int error = env.write(fd, content.data(), content.size(), written); error != 0) return error;
        if (written == 0) return ENOSPC;  // no progress: nothing more will fit
        content.remove_prefix(written);
    }
    return 0;
}

// Gives the replacement what the old file had. Group and owner are separate calls: an ordinary
// member of the file's group may keep the group although it cannot keep the owner. Either may
// be refused (EPERM); the mode is set last because a change of owner clears set-id bits.
int inherit(Env& env, int fd, const struct stat& old) {
    struct stat now {};
    if (const int error = env.fstat(fd, now); error != 0) return error;
    if (now.st_gid != old.st_gid) env.changeOwner(fd, static_cast<uid_t>(-1), old.st_gid);
    if (now.st_uid != old.st_uid) env.changeOwner(fd, old.st_uid, static_cast<gid_t>(-1));
    return env.changeMode(fd, old.st_mode & 07777);
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string TemporaryPrefix(const std::string& target) {
    return "." + baseName(target) + ".tmp-";
}

FileError ResolveLinks(const std::string& path, std::string& target, Env& env) {
    std::string current = path;
    for (int hops = 0; hops <= 40; ++hops) {
        struct stat st {};
        if (env.lstat(current, st) != 0 || !S_ISLNK(st.st_mode)) {
            target = current;
            return {};
        }
        std::string link;
        if (const int error = env.readLink(current, link); error != 0) return {error, current};
        if (link.empty()) return {ENOENT, current};
        current = link.front() == '/' ? link : join(DirectoryOf(current), link);
    }
    return {ELOOP, path};
}

FileError MakeDirectories(const std::string& folder, Env& env) {
    if (folder.empty() || folder == "." || folder == "/") return {};
    struct stat st {};
    if (env.stat(folder, st) == 0) return S_ISDIR(st.st_mode) ? FileError{} : FileError{ENOTDIR, folder};
    const std::string parent = DirectoryOf(folder);
    if (parent != folder) {
        if (FileError e = MakeDirectories(parent, env); !e.ok()) return e;
    }
    const int error = env.makeDirectory(folder, 0777);
    if (error != 0 && error != EEXIST) return {error, folder};
    return {};
}

FileError ReplaceFile(const std::string& path, std::string_view content, Env& env) {
    if (path.empty() || path.find('\0') != std::string::npos) return {EINVAL, path};
    try {
        std::string target;
        if (FileError e = ResolveLinks(path, target, env); !e.ok()) return e;
        const std::string folder = DirectoryOf(target);

        struct stat old {};
        const bool exists = env.stat(target, old) == 0;
        if (exists) {
            if (S_ISDIR(old.st_mode)) return {EISDIR, target};
            if (!S_ISREG(old.st_mode)) return {EINVAL, target};
            // The folder may allow the rename although the file itself is read-only: respect the file.
            if (const int error = env.canWrite(target); error != 0) return {error, target};
        }

        const std::string prefix = TemporaryPrefix(target);
        removeLeftovers(folder, prefix, env);

        // A new file gets 0666 less the umask from the kernel. An existing file's replacement
        // starts private and gets the old mode below, so its content is never readable by more
        // users than the old file's.
        const std::string self = prefix + std::to_string(::getpid()) + "-";
        Temporary temp(env);
        int created = EEXIST;
        for (int attempt = 0; attempt < 100 && created == EEXIST; ++attempt) {
            created = temp.create(join(folder, self + std::to_string(g_sequence.fetch_add(1))), exists ? 0600 : 0666);
        }
        if (created != 0) return {created, folder};
        // Held until the file is closed: while it is, no other writer takes it for a leftover.
        env.lock(temp.fd(), false);

        if (exists) {
            if (const int error = inherit(env, temp.fd(), old); error != 0) return {error, target};
        }
        if (const int error = writeAll(env, temp.fd(), content); error != 0) return {error, target};
        if (const int error = env.sync(temp.fd()); error != 0) return {error, target};
        if (const int error = temp.close(); error != 0) return {error, target};
        if (const int error = env.rename(temp.path(), target); error != 0) return {error, target};
        temp.keep();
        // The rename is durable only once the folder is; a file system that cannot sync a folder
        // says EINVAL, and has nothing more to do.
        if (const int error = env.syncDirectory(folder); error != 0 && error != EINVAL) return {error, folder};
        return {};
    } catch (const std::bad_alloc&) {
        return {ENOMEM, {}};
    }
}

FileError FileLock::Acquire(const std::string& lockPath) {
    Release();
    int fd = -1;
    if (const int error = m_env.openLockFile(lockPath, fd); error != 0) return {error, lockPath};
    if (const int error = m_env.lock(fd, true); error != 0) {
        m_env.close(fd);
        return {error, lockPath};
    }
    m_fd = fd;
    return {};
}

void FileLock::Release() {
    if (m_fd >= 0) m_env.close(m_fd);
    m_fd = -1;
}

}  // namespace kestrum::files
