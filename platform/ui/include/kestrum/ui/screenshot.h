// Screenshots for the programs' --screenshots DIR options: the offscreen platform renders real
// pixels, so a dialog, page or window can be written as a PNG without a display.
#pragma once

#include <kestrum/ui/export.h>

#include <QString>

class QWidget;

namespace kestrum::ui {

// Writes the widget (shown for the moment if it is hidden) as a PNG to filePath, making its
// folder if needed. Answers whether the file was written.
KESTRUM_UI_API bool saveScreenshot(QWidget* widget, const QString& filePath);

}  // namespace kestrum::ui
