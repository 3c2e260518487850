// Where the registry tree lives on disk, and how it is read and changed safely.
#pragma once

#include "registry_tree.h"

#include <comrt/faults.h>

#include <functional>
#include <memory>
#include <string>

namespace comrt::internal {

std::string registryFilePath();

// The whole tree as it is now: a missing file is an empty registry. ERROR_BADDB (with
// *problem) for a damaged file, ERROR_CANTREAD when it cannot be read. The tree is shared and
// reused for as long as the file stays the same, so reading costs one stat while nothing
// changes.
LONG readRegistry(std::shared_ptr<const RegistryTree>& tree, std::string* problem = nullptr);

// Runs change on the current tree under the registry lock and, when it returns ERROR_SUCCESS
// having set modified, writes the tree back atomically. The lock is held on the file that is
// written (a symbolic link resolved), so writers that reach it by different names exclude each
// other. A damaged file is left as it is and ERROR_BADDB returned; a failed write leaves the old
// file in place (ERROR_CANTWRITE) and says where and why in RegistryWriteProblem().
using RegistryChange = std::function<LONG(RegistryTree& tree, bool& modified)>;
LONG updateRegistry(const RegistryChange& change);

// The default value of keyPath, as RegQueryValueExA would read it: ERROR_FILE_NOT_FOUND when
// the key or its default value is missing.
LONG readDefaultValue(std::string_view keyPath, std::string& value);

// The fault hook's answer for one call (ERROR_SUCCESS when no hook is set).
LONG registryFault(RegistryOperation operation, std::string_view keyPath);

}  // namespace comrt::internal
