// Where the shipped database lies for an installed or built program.
#include "cli.h"

#include <filesystem>

namespace kestrum::cli {

std::string findShippedDatabase(const std::string& exePath) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(exePath).parent_path();
    for (const fs::path& candidate : {dir / "Unit_Database.xml", dir / ".." / "share" / "kestrum" / "Unit_Database.xml"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return fs::weakly_canonical(candidate, ec).string();
    }
    return {};
}

}  // namespace kestrum::cli
