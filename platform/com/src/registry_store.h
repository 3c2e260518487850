// Where the registry tree lives on disk, and how it is read and changed safely.
#pragma once

#include "registry_tree.h"

#include <comrt/faults.h>

#include <functional>
#include <memory>
#include <string>

namespace comrt::internal {

std::string registryFilePath();
// The machine-wide registry file ($KESTRUM_MACHINE_REGISTRY, else kestrum/classes.reg in the
// folder of the runtime's library); read-only to the runtime.
std::string machineRegistryPath();

// The user's registry file alone, and the machine-wide one alone (an empty tree when the
// runtime cannot tell where its library is); as readRegistry reads them.
LONG readUserRegistry(std::shared_ptr<const RegistryTree>& tree, std::string* problem = nullptr);
LONG readMachineRegistry(std::shared_ptr<const RegistryTree>& tree, std::string* problem = nullptr);
// The user's tree over the machine's: a key of the user's keeps only its own values. The result
// is reused while both trees stay the same.
std::shared_ptr<const RegistryTree> overlayOnMachineRegistry(const std::shared_ptr<const RegistryTree>& user,
                                                             const std::shared_ptr<const RegistryTree>& machine);

// The whole tree as it is now, the user's over the machine's: a missing file is an empty
// registry. ERROR_BADDB (with *problem) for a damaged file, ERROR_CANTREAD when it cannot be
// read. The trees are shared and reused for as long as the files stay the same, so reading
// costs two stats while nothing changes.
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
