// The library's own resources (the "Units" and "Unit Systems" templates). Linked into the host's
// chain of resource modules while the library is loaded; its dialogs run with it as the
// resource handle.
#pragma once

#include <kestrum/ui/resources.h>

namespace kestrum::editctl {

inline constexpr int IDD_UNIT_LIST = 7541;
inline constexpr int IDC_UNIT_VALUE = 7542;
inline constexpr int IDC_UNIT_LIST = 7543;
inline constexpr int IDD_UNIT_SYSTEM_LIST = 7544;
inline constexpr int IDC_UNIT_SYSTEM_LIST = 7545;

kestrum::ui::ResourceModule& libraryModule();

}  // namespace kestrum::editctl
