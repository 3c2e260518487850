#include "user_input.h"

#include <qt_test_support.h>

#include <QListWidget>
#include <QTest>

namespace editctl_test {

bool clickInto(QWidget* box) {
    QWidget* window = box->window();
    if (!window->isVisible() && !kestrum::test::showActive(window)) return false;
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    return kestrum::test::waitFor([&] { return box->hasFocus(); });
}

bool tabAway(QWidget* box) {
    QTest::keyClick(box, Qt::Key_Tab);
    return kestrum::test::waitFor([&] { return !box->hasFocus(); });
}

void typeOver(QWidget* box, const QString& text) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Backspace);
    else QTest::keyClicks(box, text);
}

void selectByKeys(QWidget* box, int start, int end) {
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < start; ++i) QTest::keyClick(box, Qt::Key_Right);
    for (int i = start; i < end; ++i) QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
}

bool clickEntry(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (found.isEmpty()) return false;
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.front()).center());
    return true;
}

void clickOn(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center()); }

}  // namespace editctl_test
