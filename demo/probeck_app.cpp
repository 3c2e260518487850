#include "probeck_app.h"

#include "probeck_dlg.h"
#include "probeck_resources.h"
#include "screenshots.h"

#include <kestrum/editctl/dimsafe_edit.h>
#include <kestrum/ui/message_box.h>

#include <QDir>

#include <cstdio>

CProbeckApp::CProbeckApp() : CWinApp(QStringLiteral("Probeck")) {}

bool CProbeckApp::InitInstance() {
    // main() has checked the arguments.
    const QStringList args = arguments();
    QString screenshotDir;
    if (args.size() == 3 && args[1] == QLatin1String("--screenshots")) screenshotDir = QDir::current().absoluteFilePath(args[2]);

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
