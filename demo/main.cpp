#include "probeck_app.h"

#include <QtGlobal>

#include <cstring>

int main(int argc, char** argv) {
    // Pictures need no display: draw them offscreen unless a platform is chosen.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--screenshots") == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    CProbeckApp app;
    return app.Run(argc, argv);
}
