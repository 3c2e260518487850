// A user's hands for the tests: clicks, Tab and keys through events on shown windows, never a
// call of a control's handlers or a programmatic focus change.
#pragma once

#include <QString>

class QListWidget;
class QWidget;

namespace editctl_test {

// Clicks into a box near its left end, as a user does, showing and activating its window first
// when it is not yet shown. True once the box has the focus.
bool clickInto(QWidget* box);
// Presses Tab in the box that has the focus; true once it has lost the focus to the next control.
bool tabAway(QWidget* box);
// Replaces the whole text of the focused box by typing it: Ctrl+A, then the keys, or Backspace
// for an empty text.
void typeOver(QWidget* box, const QString& text);
// Selects the characters [start, end) of the focused box with the keyboard (Home, Right,
// Shift+Right).
void selectByKeys(QWidget* box, int start, int end);
// Clicks the entry with exactly that text, scrolled into view first; false when there is none.
bool clickEntry(QListWidget* list, const QString& text);
// Clicks a button (or any control) in its middle.
void clickOn(QWidget* control);

}  // namespace editctl_test
