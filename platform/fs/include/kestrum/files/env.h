// kestrum::files::Env: the system calls that reading, locking and replacing a file are made of.
//
// Every routine of this library takes an Env, so a test can make one step fail (a full disk
// on write, an I/O error on sync, a rename across devices) by overriding it and calling the
// base class for the others. Env::Default() is the real file system; it keeps no state and
// may be used from any thread. Each call returns 0 or an errno value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

namespace kestrum::files {

class Env {
public:
    virtual ~Env();
    static Env& Default();

    virtual int stat(const std::string& path, struct stat& st);   // follows links
    virtual int lstat(const std::string& path, struct stat& st);  // does not
    virtual int readLink(const std::string& path, std::string& target);
    // W_OK checked for the effective user, as open() would check it.
    virtual int canWrite(const std::string& path);
    virtual int readFile(const std::string& path, std::string& content);
    virtual int makeDirectory(const std::string& path, unsigned mode);
    virtual int listDirectory(const std::string& path, std::vector<std::string>& names);

    // A new file opened for writing; EEXIST when the name is taken. The kernel applies the
    // umask to mode.
    virtual int createExclusive(const std::string& path, unsigned mode, int& fd);
    // An existing file opened read-only without following a link, for probing its lock.
    virtual int openExisting(const std::string& path, int& fd);
    // A file opened (created when missing) to hold an advisory lock.
    virtual int openLockFile(const std::string& path, int& fd);
    // An exclusive advisory lock on fd (flock); wait false gives EWOULDBLOCK instead of waiting.
    virtual int lock(int fd, bool wait);
    virtual int fstat(int fd, struct stat& st);
    // -1 for an id keeps it, as for fchown.
    virtual int changeOwner(int fd, uid_t owner, gid_t group);
    virtual int changeMode(int fd, unsigned mode);
    // Writes some of data; written says how much.
    virtual int write(int fd, const char* data, std::size_t size, std::size_t& written);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(const std::string& from, const std::string& to);
    virtual int unlink(const std::string& path);
    virtual int syncDirectory(const std::string& path);

    // false only when no process with this id exists (a process of another user counts).
    virtual bool processExists(pid_t pid);
};

// What went wrong, and where: code is an errno value (0 for success) and path the file or
// folder the failing step worked on, so a message can say which one cannot be written and why.
struct FileError {
    int code = 0;
    std::string path;

    bool ok() const { return code == 0; }
    // "<path>: <reason>", the reason from strerror.
    std::string message() const;
};

// Everything left to read from an open descriptor, a read interrupted by a signal retried: 0,
// or the errno of the read that failed (content is then as it was).
int ReadToEnd(int fd, std::string& content);

}  // namespace kestrum::files
