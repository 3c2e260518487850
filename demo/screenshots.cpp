#include "screenshots.h"

#include "about_dlg.h"
#include "probeck_dlg.h"
#include "probeck_resources.h"

#include <kestrum/ui/app.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/screenshot.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace probeck {
namespace {

constexpr int kModalTimeoutMs = 10000;

// Runs open(), which brings up a modal dialog; once the dialog shows, writes its picture and
// hands it to close(). A dialog that never closes is rejected after the timeout.
bool captureModal(const QString& path, const std::function<void()>& open, const std::function<void(QDialog*)>& close) {
    bool saved = false;
    bool seen = false;
    QElapsedTimer since;
    since.start();
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && !seen) {
            seen = true;
            saved = kestrum::ui::saveScreenshot(dialog, path);
            close(dialog);
        } else if (since.elapsed() > kModalTimeoutMs) {
            poll.stop();
            if (dialog) dialog->reject();
        }
    });
    poll.start();
    open();
    poll.stop();
    if (!saved) std::fprintf(stderr, "probeck: could not capture %s\n", qPrintable(path));
    return saved;
}

bool save(QWidget* window, const QString& path) {
    const bool saved = kestrum::ui::saveScreenshot(window, path);
    if (!saved) std::fprintf(stderr, "probeck: could not write %s\n", qPrintable(path));
    return saved;
}

// The focus on OK, so every control shows its decorated value.
void restFocus(CProbeckDlg& dialog) {
    if (QWidget* ok = dialog.GetDlgItem(IDOK)) ok->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

}  // namespace

bool takeScreenshots(const QString& dir) {
    CProbeckDlg dialog;
    if (CWinApp* app = AfxGetApp()) app->m_pMainWnd = &dialog;
    if (!dialog.Create()) return false;
    dialog.show();
    dialog.activateWindow();
    restFocus(dialog);
    bool ok = save(&dialog, dir + QStringLiteral("/probeck.png"));

    ok &= captureModal(
        dir + QStringLiteral("/probeck-units.png"),
        [&] {
            dialog.length().setFocus(Qt::TabFocusReason);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_U, Qt::NoModifier, QStringLiteral("u"));
            QApplication::sendEvent(&dialog.length(), &press);
        },
        [](QDialog* units) { units->reject(); });
    restFocus(dialog);

    ok &= captureModal(
        dir + QStringLiteral("/probeck-unit-systems.png"),
        [&] {
            if (auto* button = qobject_cast<QPushButton*>(dialog.GetDlgItem(IDC_UNIT_SYSTEMS))) button->click();
        },
        [](QDialog* systems) {
            if (auto* list = systems->findChild<CListBox*>()) list->SetCurSel(list->FindStringExact(-1, QStringLiteral("SI")));
            systems->accept();
        });
    restFocus(dialog);
    ok &= save(&dialog, dir + QStringLiteral("/probeck-si.png"));

    CAboutDlg about;
    ok &= about.Create() && save(&about, dir + QStringLiteral("/probeck-about.png"));

    dialog.hide();
    if (CWinApp* app = AfxGetApp()) app->m_pMainWnd = nullptr;
    return ok;
}

}  // namespace probeck
