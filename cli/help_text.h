// The command's help: the usage lines, the whole --help text, and the version.
#pragma once

#include <string>

namespace kestrum::cli {

std::string usageText();
std::string helpText();
// The version as the desktop programs show theirs ("1.01" for 1.0.1), from the project's.
std::string versionText();

}  // namespace kestrum::cli
