// The platform's dialogs select the whole text of the edit that has the focus when they start,
// so the first key typed replaces the value instead of adding to it.
#pragma once

class QWidget;

namespace kestrum::ui {

// Call when the window is shown: the first control that takes the focus in it afterwards, if an
// edit and not reached by a mouse click, gets its whole text selected.
void selectEditFocusedAtStart(QWidget* window);

}  // namespace kestrum::ui
