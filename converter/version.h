// The program's version resource: file and product version, shown to people as "1.01".
#pragma once

#include <comrt/comrt.h>

#include <string>

inline constexpr comrt::ModuleVersion kMorvaneVersion{MORVANE_VERSION_MAJOR, MORVANE_VERSION_MINOR,
                                                      MORVANE_VERSION_BUILD, MORVANE_VERSION_REVISION};

inline std::string MorvaneVersionText() { return comrt::FormatModuleVersion(kMorvaneVersion); }
