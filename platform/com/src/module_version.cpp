// A module's version as the programs show it: "1.01" for 1.0.1, the revision only when set.
#include <comrt/comrt.h>

#include <charconv>

namespace comrt {

std::string FormatModuleVersion(const ModuleVersion& version) {
    auto digits = [](WORD value) {
        char text[8];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    };
    std::string out = digits(version.major) + "." + digits(version.minor) + digits(version.build);
    if (version.revision != 0) out += "." + digits(version.revision);
    return out;
}

}  // namespace comrt
