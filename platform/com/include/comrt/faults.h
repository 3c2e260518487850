// Seams through which tests make the runtime's file, registry and allocation steps fail.
//
// These hooks are process-wide and not meant to be changed while other threads use the
// runtime. Production code never installs them.
#pragma once

#include <comrt/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace comrt {

// The file operations the registry store is built on. Each returns 0 or an errno value.
// This class itself works on the real file system; a test derives from it and overrides the
// step it wants to fail.
class COMRT_API FileSystem {
public:
    virtual ~FileSystem();
    // ENOENT when the file does not exist.
    virtual int readFile(const std::string& path, std::string& content);
    virtual int makeDirectories(const std::string& dir);
    // A new, empty file in the directory of besidePath, with the given permission bits.
    virtual int createTemporary(const std::string& besidePath, unsigned mode, int& fd, std::string& tempPath);
    virtual int writeAll(int fd, std::string_view data);
    virtual int syncFile(int fd);
    virtual int closeFile(int fd);
    virtual int renameFile(const std::string& from, const std::string& to);
    virtual int removeFile(const std::string& path);
    // An exclusive advisory lock, held until unlockFile; blocks while another holds it.
    virtual int lockFile(const std::string& lockPath, int& handle);
    virtual void unlockFile(int handle);
};

// Installs fs for the registry store; null restores the real file system. The caller keeps fs
// alive while it is installed.
COMRT_API void SetFileSystem(FileSystem* fs);

enum class RegistryOperation { CreateKey, OpenKey, SetValue, QueryValue, DeleteKey };
// Asked before each registry call with the full key path below HKEY_CLASSES_ROOT; a result
// other than ERROR_SUCCESS is returned by the call instead of doing it.
using RegistryFault = std::function<LONG(RegistryOperation operation, std::string_view keyPath)>;
// An empty function removes the hook.
COMRT_API void SetRegistryFault(RegistryFault fault);

// Counted allocations (strings, safe arrays, error objects, type information): the next
// `count` succeed and the one after fails, then all succeed again. -1 turns this off.
COMRT_API void FailAllocationAfter(long count);

}  // namespace comrt
