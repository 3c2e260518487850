// morvane: the desktop converter.
//   morvane                    runs the converter
//   morvane --version          prints the version
//   morvane --screenshots DIR  writes pictures of its pages and dialogs into DIR (no display needed)
#include "morvane_app.h"
#include "version.h"

#include <QByteArray>

#include <iostream>
#include <string_view>

namespace {

void usage(std::ostream& out) {
    out << "usage: morvane [--version | --screenshots DIR]\n"
           "  The desktop converter of Kestrum. It reads Unit_Database.xml and Morvane.chm from its own\n"
           "  folder; the engine server must be registered (kestrum-regsvr libkestrum.so).\n"
           "  --version          print the version and exit\n"
           "  --screenshots DIR  write PNG pictures of the pages and dialogs into DIR and exit\n";
}

}  // namespace

int main(int argc, char** argv) {
    QString screenshots;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            std::cout << MorvaneVersionText() << '\n';
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return 0;
        }
        if (arg == "--screenshots") {
            if (i + 1 >= argc) {
                std::cerr << "morvane: --screenshots needs a folder\n";
                return 2;
            }
            screenshots = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        if (arg.substr(0, 2) == "--") {
            std::cerr << "morvane: unknown option " << arg << '\n';
            usage(std::cerr);
            return 2;
        }
    }
    // Screenshots need no display: the offscreen platform renders real pixels.
    if (!screenshots.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));

    CMorvaneApp app;
    app.SetScreenshotFolder(screenshots);
    return app.Run(argc, argv);
}
