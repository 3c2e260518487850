// Replacing a file so that readers see the old content or the new, never a part, and the file
// keeps what its owner gave it.
//
// ReplaceFile writes the new content to a temporary file beside the target and renames it over
// the target. Along the way it:
//   - follows a symbolic link to the file it names (the link stays a link; a dangling link gets
//     its target created);
//   - never touches the process's umask, which other threads share: a new file is created with
//     0666 and the kernel applies the umask; an existing file's mode (and group, when the saver
//     may set it; and owner, when the saver is privileged) is given to its replacement;
//   - syncs the file before the rename and the folder after it;
//   - removes the temporary files of writers that died before finishing. A temporary file is
//     named after its writer's process and locked while it is written, so a leftover is one
//     whose process is gone and whose lock is free.
// A failure at any step removes the temporary file and leaves the old file as it was.
#pragma once

#include <kestrum/files/env.h>

#include <string>
#include <string_view>

namespace kestrum::files {

// The file a write to path ends up in: symbolic links followed (relative ones from the folder
// of the link) until a name that is not a link, which need not exist. ELOOP after 40 links.
FileError ResolveLinks(const std::string& path, std::string& target, Env& env = Env::Default());

FileError ReplaceFile(const std::string& path, std::string_view content, Env& env = Env::Default());

// Creates folder and any missing folders above it (mode 0777 less the umask).
FileError MakeDirectories(const std::string& folder, Env& env = Env::Default());

// The folder part of path ("." for a bare name, "/" for a file in the root).
std::string DirectoryOf(const std::string& path);

// The prefix of every temporary file that replacing target uses: ".<name>.tmp-", followed by
// the writer's process id, "-" and a sequence number.
std::string TemporaryPrefix(const std::string& target);

// An exclusive advisory lock on a file, held from Acquire until the object is destroyed or
// Release is called. Threads of one process exclude each other as processes do, because each
// acquisition opens the file anew.
class FileLock {
public:
    explicit FileLock(Env& env = Env::Default()) : m_env(env) {}
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits for the lock; the lock file is created when missing.
    FileError Acquire(const std::string& lockPath);
    void Release();

private:
    Env& m_env;
    int m_fd = -1;
};

}  // namespace kestrum::files
