// The engine server registered for a whole test process, in a registry file of the process's
// own: no test touches the user's registry, and test processes running in parallel never
// share one.
#pragma once

#include <string>

namespace kestrum::test {

// The first call points KESTRUM_REGISTRY at a registry file in a temporary folder (removed
// when the process ends) and registers server there by running regsvr on it, as an installer
// does. Later calls only return the first one's outcome: empty on success, else what failed
// (with what regsvr printed).
const std::string& registerServerForProcess(const char* regsvr, const char* server);

// The registry file that registerServerForProcess set up (empty before the first call).
const std::string& processRegistry();

}  // namespace kestrum::test
