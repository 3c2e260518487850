// The demo's resources: its dialog templates, string table and icon, with their identifiers.
#pragma once

namespace probeck {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_PROBECK_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDC_LENGTH = 1000;
inline constexpr int IDC_UNIT_SYSTEMS = 1001;
inline constexpr int IDC_MASS = 1002;
inline constexpr int IDC_TIME = 1003;
inline constexpr int IDC_TEMPERATURE = 1004;
// The window-menu command of "&About Probeck...".
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

// Puts the templates, strings and icon into the program's resource module; idempotent.
void registerResources();

}  // namespace probeck
