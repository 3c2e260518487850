// Where the registry tree lives on disk, and how it is read and changed safely.
#pragma once

#include "registry_tree.h"

#include <comrt/faults.h>

#include <functional>
#include <string>

namespace comrt::internal {

std::string registryFilePath();
// The machine-wide registry file ($KESTRUM_MACHINE_REGISTRY, else kestrum/classes.reg in the
// folder of the runtime's library); read-only to the runtime.
std::string machineRegistryPath();

// One registry file: a missing file is an empty tree. ERROR_BADDB (with *problem) for a damaged
// file, ERROR_CANTREAD when it cannot be read.
LONG readRegistryFile(const std::string& path, RegistryTree& tree, std::string* problem);
// Puts the user's tree over the machine-wide one: a key in the user's tree keeps only its own
// values. ERROR_BADDB or ERROR_CANTREAD, with *problem naming the machine file, when that file
// is damaged or unreadable; tree is then unchanged.
LONG overlayOnMachineRegistry(RegistryTree& tree, std::string* problem);

// The whole tree as it is now, the user's over the machine's: a missing file is an empty registry. ERROR_BADDB (with
// *problem) for a damaged file, ERROR_CANTREAD when it cannot be read.
LONG readRegistry(RegistryTree& tree, std::string* problem = nullptr);

// Runs change on the current tree under the registry lock and, when it returns ERROR_SUCCESS
// having set modified, writes the tree back atomically. A damaged file is left as it is and
// ERROR_BADDB returned; a failed write leaves the old file in place (ERROR_CANTWRITE).
using RegistryChange = std::function<LONG(RegistryTree& tree, bool& modified)>;
LONG updateRegistry(const RegistryChange& change);

// The default value of keyPath, as RegQueryValueExA would read it: ERROR_FILE_NOT_FOUND when
// the key or its default value is missing.
LONG readDefaultValue(std::string_view keyPath, std::string& value);

// The fault hook's answer for one call (ERROR_SUCCESS when no hook is set).
LONG registryFault(RegistryOperation operation, std::string_view keyPath);

}  // namespace comrt::internal
