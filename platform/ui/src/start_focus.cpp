#include "start_focus.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>

#include <memory>

namespace kestrum::ui {

void selectEditFocusedAtStart(QWidget* window) {
    QWidget* now = QApplication::focusWidget();
    if (now && now->window() == window) {
        // Shown while it already had the focus: the start is now.
        if (auto* edit = qobject_cast<QLineEdit*>(now)) edit->selectAll();
        return;
    }
    // The focus arrives once the window is active, which the platform does after showing it.
    auto connection = std::make_shared<QMetaObject::Connection>();
    const QPointer<QWidget> guard(window);
    *connection = QObject::connect(qApp, &QApplication::focusChanged, window, [guard, connection](QWidget*, QWidget* to) {
        if (!guard || !to || to->window() != guard) return;
        QObject::disconnect(*connection);
        auto* edit = qobject_cast<QLineEdit*>(to);
        if (edit && QGuiApplication::mouseButtons() == Qt::NoButton) edit->selectAll();
    });
}

}  // namespace kestrum::ui
