// Seams through which tests make the runtime's file, registry and allocation steps fail.
//
// These hooks are process-wide and not meant to be changed while other threads use the
// runtime. Production code never installs them.
#pragma once

#include <comrt/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace kestrum::files {
class Env;
}

namespace comrt {

// Installs env (see <kestrum/files/env.h>, which the build tree provides) as the file system
// that the registry store reads, locks and replaces its file through; null restores the real
// one. The caller keeps env alive while it is installed.
COMRT_API void SetFileEnv(kestrum::files::Env* env);

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
