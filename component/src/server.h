// The server's module-wide state: its count of live objects, factory references and locks,
// and the path of its own file.
#pragma once

#include <comrt/comrt.h>

namespace kestrum::component {

// Atomic: objects and the factory may change it from any thread at once.
void ServerLock();
void ServerUnlock();
LONG ServerCount();

// The absolute path of this library's file, recorded when it was loaded.
const char* ModulePath();
const OLECHAR* ModulePathWide();

// The single, statically allocated class factory of Morvane.
IClassFactory& MorvaneClassFactory();

}  // namespace kestrum::component
