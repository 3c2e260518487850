// The control in real windows on a real X server: a drag from another program's window and a
// middle click, both onto a box of a window that is not active, with the pointer moved and the
// buttons pressed by xdotool through the server, as a person's mouse does.
#include "engine_fixture.h"
#include "host_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

using namespace editctl_test;

namespace {

class RealWindow : public EngineTest {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "runs on a real X server only";
        start(QStringLiteral("English"), QStringLiteral("English"));
        ASSERT_TRUE(dialog.Create());
        dialog.load(kLength2, 200);
        // Neither window is activated: without a window manager nothing activates them, and a
        // drag from one program to another leaves the target inactive.
        dialog.setAttribute(Qt::WA_ShowWithoutActivating);
        dialog.move(420, 60);
        dialog.show();
        source.setAttribute(Qt::WA_ShowWithoutActivating);
        source.setDragEnabled(true);
        source.setGeometry(60, 60, 200, 30);
        source.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&source));
    }

    // Runs xdotool with these arguments while this process goes on handling its events. The
    // pointer goes to a corner first: a "mousemove --sync" to where it already is would wait
    // for a motion forever.
    bool xdotool(const QStringList& arguments) {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), QStringList{"mousemove", "0", "0"} + arguments);
        if (!tool.waitForStarted()) return false;
        const bool ended = kestrum::test::waitFor([&] { return tool.state() == QProcess::NotRunning; }, 15000);
        return ended && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    }

    // Drags the source's selected text with the left button onto the point of the box.
    bool drag(QWidget* box, QPoint at) {
        // The middle of the source's first character, which is selected.
        const QPoint from = source.mapToGlobal(QPoint(source.width() / 2, source.height() / 2));
        const QPoint to = box->mapToGlobal(at);
        const auto n = [](int v) { return QString::number(v); };
        return xdotool({"mousemove", "--sync", n(from.x()), n(from.y()), "mousedown", "1",
                        "mousemove", "--sync", n(from.x() + 8), n(from.y() + 2), "sleep", "0.05",
                        "mousemove", "--sync", n(from.x() + 30), n(from.y() + 4), "sleep", "0.1",
                        "mousemove", "--sync", n(to.x() - 12), n(to.y()), "sleep", "0.1",
                        "mousemove", "--sync", n(to.x()), n(to.y()), "sleep", "0.2", "mouseup", "1"});
    }

    void offer(const QString& text) {
        // Centred, so the middle of the source is on the selected text.
        source.setAlignment(Qt::AlignCenter);
        source.setText(text);
        source.selectAll();
    }

    HostDialog dialog;
    QLineEdit source;
};

}  // namespace

TEST_F(RealWindow, ADragFromAnotherWindowIsStoredAsTheBoxShowsIt) {
    CDimsafeEdit& length = dialog[kLength2];
    ASSERT_EQ(length.text(), QStringLiteral("200.00 ft"));
    offer(QStringLiteral("5"));
    ASSERT_TRUE(drag(&length, QPoint(3, length.height() / 2)));  // before the first digit
    EXPECT_TRUE(kestrum::test::waitFor([&] { return length.text() != QStringLiteral("200.00 ft"); }));
    EXPECT_FALSE(dialog.isActiveWindow());
    EXPECT_FALSE(length.hasFocus());
    EXPECT_EQ(length.text(), QStringLiteral("5,200.00 ft"));
    EXPECT_EQ(source.text(), QStringLiteral("5")) << "copied, not moved";
    dialog.UpdateData(true);
    EXPECT_EQ(length(), 5200.0);
    dialog.UpdateData(false);
    EXPECT_EQ(length.text(), QStringLiteral("5,200.00 ft"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(RealWindow, ARefusedDragLeavesTheBoxAndTheValue) {
    CDimsafeEdit& length = dialog[kLength2];
    offer(QStringLiteral("12a"));
    ASSERT_TRUE(drag(&length, QPoint(3, length.height() / 2)));
    EXPECT_TRUE(kestrum::test::waitFor([&] { return !boxes.boxes().empty(); }));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes().front().caption, QStringLiteral("Paste Command Ignored"));
    EXPECT_EQ(length.text(), QStringLiteral("200.00 ft"));
    dialog.UpdateData(true);
    EXPECT_EQ(length(), 200.0);
}

TEST_F(RealWindow, AMiddleClickFocusesTheBoxAndPastesTheSelectionThroughTheFilter) {
    CDimsafeEdit& length = dialog[kLength2];
    QClipboard* clipboard = QApplication::clipboard();
    ASSERT_TRUE(clipboard->supportsSelection());
    const QPoint at = length.mapToGlobal(QPoint(3, length.height() / 2));
    const QStringList click{"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "2"};

    // The press gives the box the focus, as any click does, so the text goes into the plain number.
    clipboard->setText(QStringLiteral("12a"), QClipboard::Selection);
    ASSERT_TRUE(xdotool(click));
    EXPECT_TRUE(kestrum::test::waitFor([&] { return !boxes.boxes().empty(); }));
    EXPECT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(length.hasFocus());
    EXPECT_EQ(length.text(), QStringLiteral("200.00"));

    clipboard->setText(QStringLiteral("3"), QClipboard::Selection);
    ASSERT_TRUE(xdotool(click));
    EXPECT_TRUE(kestrum::test::waitFor([&] { return length.text() != QStringLiteral("200.00"); }));
    EXPECT_EQ(length.text(), QStringLiteral("3200.00"));
    dialog.UpdateData(true);
    EXPECT_EQ(length(), 3200.0);
    QTest::keyClick(&length, Qt::Key_Tab);
    EXPECT_TRUE(kestrum::test::waitFor([&] { return !length.hasFocus(); }));
    EXPECT_EQ(length.text(), QStringLiteral("3,200.00 ft"));
    EXPECT_EQ(boxes.texts().size(), 1);
}
