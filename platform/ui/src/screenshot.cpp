#include <kestrum/ui/screenshot.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QWidget>

namespace kestrum::ui {

bool saveScreenshot(QWidget* widget, const QString& filePath) {
    if (!widget) return false;
    if (!QDir().mkpath(QFileInfo(filePath).absolutePath())) return false;
    const bool wasHidden = widget->isHidden();
    if (wasHidden) widget->show();
    // Layouts and pending resizes settle in the event loop.
    QApplication::processEvents();
    const QPixmap pixels = widget->grab();
    if (wasHidden) widget->hide();
    return !pixels.isNull() && pixels.save(filePath, "PNG");
}

}  // namespace kestrum::ui
