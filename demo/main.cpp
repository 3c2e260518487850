#include "probeck_app.h"

#include <QtGlobal>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "usage: probeck [--screenshots DIR]\n"
    "  Shows four quantity edit controls over Unit_Database.xml in the working directory.\n"
    "  --screenshots DIR  writes PNGs of the demo dialog, the Units list, the Unit Systems list\n"
    "                     and the About box into DIR, then exits (needs no display).\n";

}  // namespace

int main(int argc, char** argv) {
    // Before any window system is asked for: usage needs no display.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const bool screenshots = argc == 3 && std::strcmp(argv[1], "--screenshots") == 0;
    if (argc > 1 && !screenshots) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // Pictures need no display: they are drawn offscreen unless a platform is chosen.
    if (screenshots && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    CProbeckApp app;
    return app.Run(argc, argv);
}
