// Support for headless Qt tests under GoogleTest (library kestrum_qt_test_main, which also
// brings the test main: it selects the offscreen platform unless QT_QPA_PLATFORM is set and
// makes the QApplication before any test runs).
//
// Qt's QVERIFY/QCOMPARE do nothing inside GoogleTest: use EXPECT_* and waitFor.
//
//   kestrum::test::MessageBoxRecorder boxes;          // every box recorded, none shown
//   kestrum::test::ModalDriver modals;                 // before the code that opens a modal
//   modals.next([](QWidget* dialog) { ...; static_cast<QDialog*>(dialog)->accept(); });
//   EXPECT_EQ(dialog.DoModal(), IDOK);
//   EXPECT_EQ(boxes.texts(), QStringList{"Unit Database File Read Successfully"});
#pragma once

#include <kestrum/ui/message_box.h>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace kestrum::test {

// Takes every message box while it lives: records it and answers with the next queued answer,
// or else the box's default button.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void answer(int result) { m_answers.push_back(result); }
    const std::vector<ui::MessageBoxRequest>& boxes() const { return m_boxes; }
    QStringList texts() const;
    void clear() { m_boxes.clear(); }

private:
    std::vector<ui::MessageBoxRequest> m_boxes;
    std::deque<int> m_answers;
    ui::MessageBoxHook m_previous;
};

// Drives modal dialogs and pop-up menus without a user. Each queued action runs (from the
// event loop of the window it drives) on the next modal dialog or pop-up menu that opens. A
// window left open with no action for it is closed after the watchdog time (a dialog with
// result 0, so DoModal answers IDCANCEL) and fails the test, as does an action still queued
// when the driver is destroyed.
class ModalDriver : public QObject {
public:
    using Action = std::function<void(QWidget*)>;

    explicit ModalDriver(std::chrono::milliseconds watchdog = std::chrono::seconds(10));
    ~ModalDriver() override;

    void next(Action action) { m_actions.push_back(std::move(action)); }
    int pending() const { return int(m_actions.size()); }
    int driven() const { return m_driven; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void poll();

    std::deque<Action> m_actions;
    std::vector<QPointer<QWidget>> m_actedOn;
    QPointer<QWidget> m_current;
    QElapsedTimer m_since;
    QTimer m_timer;
    std::chrono::milliseconds m_watchdog;
    int m_driven = 0;
};

// Waits (running the event loop) until the condition holds; false after the timeout.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// Shows the window and waits until it is the active window, so shortcuts and focus work.
bool showActive(QWidget* window);

// The action of a menu whose text, without "&" and a shortcut after a tab, is `text`.
QAction* menuAction(const QMenu* menu, const QString& text);
// Chooses the item of an open pop-up menu as the user does (the menu then closes and its
// exec() returns the action); false when it has no such item.
bool chooseMenuItem(QWidget* popup, const QString& text);

// The text of the menu items of a pop-up, without "&" and shortcuts; separators as "-".
QStringList menuTexts(const QMenu* menu);

}  // namespace kestrum::test
