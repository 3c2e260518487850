#include "probeck_resources.h"

#include <kestrum/ui/dialog_template.h>
#include <kestrum/ui/resources.h>

#include <QIcon>

namespace probeck {
namespace {

using namespace kestrum::ui;

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 256}) icon.addFile(QStringLiteral(":/probeck/probeck-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace
}  // namespace probeck

// Outside any namespace, as Qt's resource initialisation requires.
static void initProbeckResources() { Q_INIT_RESOURCE(probeck); }

namespace probeck {

void registerResources() {
    initProbeckResources();
    ResourceModule& module = ResourceModule::application();
    module.addDialog(DIALOG(IDD_PROBECK_DIALOG, 257, 105, DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                            QStringLiteral("Dimsafe Edit Test App"),
                            {EDITTEXT(IDC_LENGTH, 7, 7, 89, 14, ES_AUTOHSCROLL),
                             EDITTEXT(IDC_MASS, 7, 32, 89, 14, ES_AUTOHSCROLL),
                             EDITTEXT(IDC_TIME, 7, 58, 89, 14, ES_AUTOHSCROLL),
                             EDITTEXT(IDC_TEMPERATURE, 7, 84, 89, 14, ES_AUTOHSCROLL),
                             PUSHBUTTON(QStringLiteral("Unit Systems Dialog"), IDC_UNIT_SYSTEMS, 164, 7, 86, 14),
                             RTEXT(QStringLiteral("Press 'u' to display the Units Dialog (Make sure an edit control has focus)"),
                                   IDC_STATIC, 126, 35, 124, 20),
                             LTEXT(QStringLiteral("(This edit box intentionally blank)"), IDC_STATIC, 98, 81, 80, 17),
                             DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 200, 68, 50, 14),
                             PUSHBUTTON(QStringLiteral("Cancel"), IDCANCEL, 200, 84, 50, 14)}));
    module.addDialog(DIALOG(IDD_ABOUTBOX, 217, 62, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                            QStringLiteral("About Probeck"),
                            {ICON(IDR_MAINFRAME, IDC_STATIC, 11, 17),
                             LTEXT(QStringLiteral("Probeck Version 1.0"), IDC_STATIC, 40, 10, 119, 8),
                             LTEXT(QStringLiteral("Demo of the Dimsafe edit control"), IDC_STATIC, 40, 24, 134, 8),
                             LTEXT(QStringLiteral("Kestrum physical-unit conversion"), IDC_STATIC, 40, 38, 134, 8),
                             DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 178, 7, 32, 14, WS_GROUP)}));
    module.addIcon(IDR_MAINFRAME, programIcon());
    module.addString(IDS_ABOUTBOX, QStringLiteral("&About Probeck..."));
    module.addString(IDC_LENGTH, QStringLiteral("Length 2"));
    module.addString(IDC_MASS, QStringLiteral("mass 3"));
    module.addString(IDC_TIME, QStringLiteral("time 0"));
    module.addString(IDC_TEMPERATURE, QStringLiteral("temperature 4"));
}

}  // namespace probeck
