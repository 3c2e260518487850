// The control on a host dialog: what it shows with and without the focus, and the character
// filter for typing and for every way of pasting.
#include "engine_fixture.h"
#include "host_dialog.h"
#include "user_input.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <functional>

using namespace editctl_test;

namespace {

class DimsafeEdit : public EngineTest {
protected:
    void SetUp() override {
        start(QStringLiteral("English"), QStringLiteral("English"));
        ASSERT_TRUE(dialog.Create());
    }
    bool focus(CDimsafeEdit& control) { return clickInto(&control); }
    // Tab from the control being edited.
    bool leave() {
        QWidget* edited = QApplication::focusWidget();
        return edited && tabAway(edited);
    }

    HostDialog dialog;
};

void dropText(QWidget* target, const QString& text, QPoint at) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
}

void pasteFromContextMenu(CDimsafeEdit& control) {
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), control.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&control, &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* paste = kestrum::test::menuAction(menu, QStringLiteral("Paste"));
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    menu->close();
}

}  // namespace

TEST_F(DimsafeEdit, DecoratedTextGroupsDigitsAndAddsTheSymbol) {
    struct Row {
        HostControl control;
        double value;
        const char* shown;
    } rows[] = {
        {kLength3, 1234567.891, "1,234,567.891 ft"},
        {kLength3, -0.05, "-0.050 ft"},
        {kLength3, 0.5, ".500 ft"},
        {kLength4, 0.0001, "0.000,1 ft"},
        {kLength2, 200, "200.00 ft"},
        {kMass3, 50.1256, "50.126 lb"},
        {kTime0, 33, "33.000 s"},
        {kTemperature4, -40, "-40.0000 \u00b0F"},
    };
    for (const Row& row : rows) {
        dialog.load(row.control, row.value);
        EXPECT_EQ(dialog.text(row.control), QString::fromUtf8(row.shown)) << row.value;
    }

    CDimsafeEdit::m_bUseCommas = false;
    dialog.load(kLength3, 1234567.891);
    EXPECT_EQ(dialog.text(kLength3), QStringLiteral("1234567.891 ft"));
    dialog.load(kLength4, 0.0001);
    EXPECT_EQ(dialog.text(kLength4), QStringLiteral("0.0001 ft"));
    CDimsafeEdit::m_bUseCommas = true;

    dialog[kLength3].PrefixSymbol();
    dialog.load(kLength3, 1234567.891);
    EXPECT_EQ(dialog.text(kLength3), QStringLiteral("ft 1,234,567.891"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(DimsafeEdit, FocusSwitchesBetweenThePlainAndTheDecoratedNumber) {
    CDimsafeEdit& length = dialog[kLength3];
    dialog.load(kLength3, 1234567.891);
    EXPECT_EQ(length.GetExStyle(), 0u);
    ASSERT_TRUE(focus(length));
    EXPECT_EQ(length.text(), QStringLiteral("1234567.891"));
    EXPECT_EQ(length.GetExStyle(), 0x101u) << "the frame cue while editing";
    ASSERT_TRUE(leave());
    EXPECT_EQ(length.text(), QStringLiteral("1,234,567.891 ft"));
    EXPECT_EQ(length.GetExStyle(), 0u);

    // What was typed is read as far as it forms a number, rounded to the control's decimals.
    ASSERT_TRUE(focus(length));
    typeOver(&length, QStringLiteral("12.3456"));
    ASSERT_TRUE(leave());
    EXPECT_EQ(length.text(), QStringLiteral("12.346 ft"));
    ASSERT_TRUE(focus(length));
    typeOver(&length, QStringLiteral("-"));
    ASSERT_TRUE(leave());
    EXPECT_EQ(length.text(), QStringLiteral(".000 ft")) << "a lone minus is 0";
}

TEST_F(DimsafeEdit, EmptyTextOnLeavingIsNoValue) {
    CDimsafeEdit& length = dialog[kLength2];
    dialog.load(kLength2, 200);
    ASSERT_TRUE(focus(length));
    typeOver(&length, QString());
    ASSERT_TRUE(leave());
    EXPECT_EQ(length.text(), QString()) << "stays empty";
    ASSERT_TRUE(focus(length));
    EXPECT_EQ(length.text(), QString());
    ASSERT_TRUE(leave());
    dialog.UpdateData(true);
    EXPECT_EQ(length(), CDimsafeEdit::m_dUNDEF);
}

TEST_F(DimsafeEdit, TypingTakesOnlyWhatCanFormANumber) {
    CDimsafeEdit& length = dialog[kLength2];
    ASSERT_TRUE(focus(length));
    QTest::keyClicks(&length, QStringLiteral("-12a,e +.3.4"));
    EXPECT_EQ(length.text(), QStringLiteral("-12.34"));
    QTest::keyClick(&length, Qt::Key_Home);
    QTest::keyClicks(&length, QStringLiteral("."));
    EXPECT_EQ(length.text(), QStringLiteral(".-12.34")) << "a second point at position 0 is taken";
    QTest::keyClick(&length, Qt::Key_Home);
    QTest::keyClicks(&length, QStringLiteral("-"));
    EXPECT_EQ(length.text(), QStringLiteral("-.-12.34")) << "a minus at position 0, also before another";
    QTest::keyClick(&length, Qt::Key_End);
    QTest::keyClicks(&length, QStringLiteral("-"));
    QTest::keyClick(&length, Qt::Key_Backspace);
    EXPECT_EQ(length.text(), QStringLiteral("-.-12.3"));
    // Characters above 127 are not printable to the filter and pass.
    QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0xE9)));
    QApplication::sendEvent(&length, &accented);
    EXPECT_EQ(length.text(), QString::fromUtf8("-.-12.3\u00e9"));
    // With the point selected, typing another point is still refused away from position 0.
    typeOver(&length, QStringLiteral("1.5"));
    ASSERT_EQ(length.text(), QStringLiteral("1.5"));
    selectByKeys(&length, 1, 2);
    QTest::keyClicks(&length, QStringLiteral("."));
    EXPECT_EQ(length.text(), QStringLiteral("1.5"));
    EXPECT_TRUE(boxes.texts().isEmpty()) << "refused typing is silent";
}

TEST_F(DimsafeEdit, EveryWayOfPastingGoesThroughTheFilter) {
    CDimsafeEdit& length = dialog[kLength2];
    ASSERT_TRUE(focus(length));
    QClipboard* clipboard = QApplication::clipboard();
    struct Way {
        const char* label;
        std::function<void(const QString&)> paste;
    };
    std::vector<Way> ways{
        {"Ctrl+V", [&](const QString& t) { clipboard->setText(t); QTest::keyClick(&length, Qt::Key_V, Qt::ControlModifier); }},
        {"Shift+Insert", [&](const QString& t) { clipboard->setText(t); QTest::keyClick(&length, Qt::Key_Insert, Qt::ShiftModifier); }},
        {"context menu", [&](const QString& t) { clipboard->setText(t); pasteFromContextMenu(length); }},
        {"drop", [&](const QString& t) { dropText(&length, t, QPoint(3, 5)); }},
    };
    if (clipboard->supportsSelection()) {
        ways.push_back({"middle click", [&](const QString& t) {
                            clipboard->setText(t, QClipboard::Selection);
                            QTest::mouseClick(&length, Qt::MiddleButton, {}, QPoint(3, 5));
                        }});
    }
    for (const Way& way : ways) {
        typeOver(&length, QString());
        boxes.clear();
        way.paste(QStringLiteral("12a"));
        EXPECT_EQ(length.text(), QString()) << way.label;
        ASSERT_EQ(boxes.boxes().size(), 1u) << way.label;
        const auto& box = boxes.boxes().front();
        EXPECT_EQ(box.caption, QStringLiteral("Paste Command Ignored")) << way.label;
        EXPECT_EQ(box.text, QStringLiteral("Cannot paste the following value into the dimsafe edit control\n\"12a\"\n"
                                           "Only numeric values can be pasted"))
            << way.label;
        EXPECT_EQ(box.type, MB_ICONINFORMATION | MB_OK) << way.label;
        EXPECT_EQ(box.owner, &length) << way.label;

        boxes.clear();
        way.paste(QStringLiteral("-12.5"));
        EXPECT_EQ(length.text(), QStringLiteral("-12.5")) << way.label;
        EXPECT_TRUE(boxes.texts().isEmpty()) << way.label;
    }
}

TEST_F(DimsafeEdit, PastedPointsCountAgainstThePointThatStays) {
    CDimsafeEdit& length = dialog[kLength2];
    ASSERT_TRUE(focus(length));
    QClipboard* clipboard = QApplication::clipboard();
    const auto paste = [&](const QString& current, int start, int end, const QString& pasted) {
        typeOver(&length, current);
        selectByKeys(&length, start, end);
        clipboard->setText(pasted);
        QTest::keyClick(&length, Qt::Key_V, Qt::ControlModifier);
        return length.text();
    };
    EXPECT_EQ(paste(QStringLiteral("3.4"), 1, 2, QStringLiteral("12.5")), QStringLiteral("312.54")) << "replaces the point";
    EXPECT_TRUE(boxes.texts().isEmpty());
    EXPECT_EQ(paste(QStringLiteral("3.4"), 0, 1, QStringLiteral("1.2")), QStringLiteral("3.4")) << "a second point";
    EXPECT_EQ(boxes.texts().size(), 1);
    boxes.clear();
    EXPECT_EQ(paste(QString(), 0, 0, QStringLiteral("1.2.3")), QStringLiteral("1.2.3")) << "checked against the text before";
    EXPECT_EQ(paste(QString(), 0, 0, QStringLiteral("4\t5")), QStringLiteral("4\t5")) << "a tab is not printable";
    EXPECT_EQ(paste(QString(), 0, 0, QString::fromUtf16(u"7\0x", 3)), QStringLiteral("7")) << "up to the first zero";
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(DimsafeEdit, ProgramTextIsNotFiltered) {
    CDimsafeEdit& length = dialog[kLength2];
    length.SetWindowText(QStringLiteral("abc"));
    EXPECT_EQ(length.text(), QStringLiteral("abc"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}
