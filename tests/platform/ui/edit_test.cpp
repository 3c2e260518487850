#include <kestrum/ui/edit.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

namespace {

// Lets digits and backspace in; records everything offered.
class DigitsEdit : public CEdit {
public:
    std::vector<unsigned> typed;
    QStringList pasted;
    bool swallowFocus = false;

protected:
    void OnChar(unsigned nChar, unsigned nRepCnt, unsigned nFlags) override {
        typed.push_back(nChar);
        if (nChar == '\b' || (nChar >= '0' && nChar <= '9')) CEdit::OnChar(nChar, nRepCnt, nFlags);
    }
    void OnPaste(const QString& text) override {
        pasted << text;
        if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); })) CEdit::OnPaste(text);
    }
    bool OnSetfocus() override { return swallowFocus; }
};

void dropText(QWidget* target, const QString& text, QPoint at) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
}

}  // namespace

TEST(Edit, TypedCharactersGoThroughOnChar) {
    DigitsEdit edit;
    QTest::keyClicks(&edit, QStringLiteral("12a3.u"));
    EXPECT_EQ(edit.text(), QStringLiteral("123"));
    EXPECT_EQ(edit.typed, (std::vector<unsigned>{'1', '2', 'a', '3', '.', 'u'}));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("12"));
    EXPECT_EQ(edit.typed.back(), 8u);
    // Keys without a character (arrows, Delete) keep their standard meaning.
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), QStringLiteral("2"));
    EXPECT_EQ(edit.typed.size(), 7u);
}

TEST(Edit, EveryWayOfPastingGoesThroughOnPaste) {
    DigitsEdit edit;
    edit.resize(200, 24);
    ASSERT_TRUE(kestrum::test::showActive(&edit));
    QClipboard* clipboard = QApplication::clipboard();

    clipboard->setText(QStringLiteral("4a"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.pasted, QStringList{"4a"});
    EXPECT_TRUE(edit.text().isEmpty());

    clipboard->setText(QStringLiteral("45"));
    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(edit.pasted.size(), 2);
    EXPECT_EQ(edit.text(), QStringLiteral("45"));

    clipboard->setText(QStringLiteral("x9"));
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), edit.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&edit, &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(kestrum::test::menuAction(menu, QStringLiteral("Paste")), nullptr);
    EXPECT_TRUE(kestrum::test::chooseMenuItem(menu, QStringLiteral("Paste")));
    EXPECT_TRUE(kestrum::test::waitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    EXPECT_EQ(edit.pasted.size(), 3);
    EXPECT_EQ(edit.pasted.last(), QStringLiteral("x9"));
    EXPECT_EQ(edit.text(), QStringLiteral("45"));

    dropText(&edit, QStringLiteral("b7"), QPoint(5, 5));
    EXPECT_EQ(edit.pasted.size(), 4);
    EXPECT_EQ(edit.pasted.last(), QStringLiteral("b7"));
    dropText(&edit, QStringLiteral("7"), QPoint(1, 5));
    EXPECT_EQ(edit.text(), QStringLiteral("745"));

    // A middle click pastes the selection clipboard through the filter, where there is one.
    if (clipboard->supportsSelection()) clipboard->setText(QStringLiteral("zz"), QClipboard::Selection);
    QTest::mouseClick(&edit, Qt::MiddleButton, {}, QPoint(5, 5));
    EXPECT_EQ(edit.pasted.size(), clipboard->supportsSelection() ? 6 : 5);
    EXPECT_EQ(edit.text(), QStringLiteral("745"));
}

TEST(Edit, ProgramTextIsNotFilteredButNotifiesAChange) {
    DigitsEdit edit;
    QSignalSpy changed(&edit, &CEdit::changed);
    edit.SetWindowText(QStringLiteral("abc"));
    EXPECT_EQ(edit.GetWindowText(), QStringLiteral("abc"));
    EXPECT_TRUE(edit.typed.empty());
    EXPECT_EQ(changed.count(), 1);
    edit.SetSel(1, -1);
    int start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    edit.ReplaceSel(QStringLiteral("Z"));
    EXPECT_EQ(edit.GetWindowText(), QStringLiteral("aZ"));
    edit.GetSel(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 2);
}

TEST(Edit, ReadOnlyEditTakesNothing) {
    DigitsEdit edit;
    edit.SetReadOnly();
    QApplication::clipboard()->setText(QStringLiteral("12"));
    QTest::keyClicks(&edit, QStringLiteral("34"));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(edit.text().isEmpty());
    EXPECT_TRUE(edit.pasted.isEmpty());
}

TEST(Edit, FocusNotificationsSkipPopupsAndCanBeKeptFromTheParent) {
    DigitsEdit edit;
    QSignalSpy gained(&edit, &CEdit::focusGained);
    QSignalSpy lost(&edit, &CEdit::focusLost);
    const auto send = [&](QEvent::Type type, Qt::FocusReason reason) {
        QFocusEvent event(type, reason);
        QApplication::sendEvent(&edit, &event);
    };
    send(QEvent::FocusIn, Qt::TabFocusReason);
    send(QEvent::FocusOut, Qt::PopupFocusReason);
    send(QEvent::FocusIn, Qt::PopupFocusReason);
    send(QEvent::FocusOut, Qt::MouseFocusReason);
    EXPECT_EQ(gained.count(), 1);
    EXPECT_EQ(lost.count(), 1);

    edit.swallowFocus = true;
    send(QEvent::FocusIn, Qt::TabFocusReason);
    EXPECT_EQ(gained.count(), 1);
}

TEST(Edit, LimitTextBoundsTyping) {
    DigitsEdit edit;
    edit.LimitText(3);
    QTest::keyClicks(&edit, QStringLiteral("12345"));
    EXPECT_EQ(edit.text(), QStringLiteral("123"));
    edit.LimitText(0);
    QTest::keyClicks(&edit, QStringLiteral("45"));
    EXPECT_EQ(edit.text(), QStringLiteral("12345"));
}
