#include "probeck_app.h"

#include "probeck_dlg.h"
#include "probeck_resources.h"
#include "screenshots.h"

#include <kestrum/editctl/dimsafe_edit.h>
#include <kestrum/ui/message_box.h>

#include <QDir>

#include <cstdio>

namespace {

constexpr const char* kUsage =
    "usage: probeck [--screenshots DIR]\n"
    "  Shows four quantity edit controls over Unit_Database.xml in the working directory.\n"
    "  --screenshots DIR  writes PNGs of the demo dialog, the Units list, the Unit Systems list\n"
    "                     and the About box into DIR, then exits (needs no display).\n";

}  // namespace

CProbeckApp::CProbeckApp() : CWinApp(QStringLiteral("Probeck")) {}

bool CProbeckApp::InitInstance() {
    const QStringList args = arguments();
    QString screenshotDir;
    if (args.size() == 2 && (args[1] == QLatin1String("--help") || args[1] == QLatin1String("-h"))) {
        std::fputs(kUsage, stdout);
        return false;
    }
    if (args.size() == 3 && args[1] == QLatin1String("--screenshots")) {
        screenshotDir = QDir::current().absoluteFilePath(args[2]);
    } else if (args.size() > 1) {
        std::fputs(kUsage, stderr);
        m_exitCode = 2;
        return false;
    }

    probeck::registerResources();
    if (!screenshotDir.isEmpty()) {
        // Nobody is there to answer a box: say what it says and go on.
        kestrum::ui::setMessageBoxHook([](const kestrum::ui::MessageBoxRequest& box) {
            std::fprintf(stderr, "probeck: %s: %s\n", qPrintable(box.caption), qPrintable(box.text));
            return box.defaultButton();
        });
    }

    CDimsafeEdit::Initialize(QStringLiteral("Unit_Database.xml"), QStringLiteral("English"), QStringLiteral("English"));
    if (!screenshotDir.isEmpty()) {
        m_exitCode = probeck::takeScreenshots(screenshotDir) ? 0 : 1;
    } else {
        CProbeckDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    CDimsafeEdit::Terminate();
    return false;
}
