#include "qt_test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTest>

#include <algorithm>

namespace kestrum::test {
namespace {

QString plainMenuText(const QAction* action) {
    QString text = action->text().section(u'\t', 0, 0);
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

}  // namespace

MessageBoxRecorder::MessageBoxRecorder() {
    m_previous = ui::setMessageBoxHook([this](const ui::MessageBoxRequest& request) {
        m_boxes.push_back(request);
        if (m_answers.empty()) return request.defaultButton();
        const int result = m_answers.front();
        m_answers.pop_front();
        return result;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { ui::setMessageBoxHook(std::move(m_previous)); }

QStringList MessageBoxRecorder::texts() const {
    QStringList texts;
    for (const ui::MessageBoxRequest& box : m_boxes) texts << box.text;
    return texts;
}

ModalDriver::ModalDriver(std::chrono::milliseconds watchdog) : m_watchdog(watchdog) {
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
    m_timer.start();
}

ModalDriver::~ModalDriver() {
    m_timer.stop();
    EXPECT_TRUE(m_actions.empty()) << m_actions.size() << " modal action(s) never ran: the modal never opened";
}

void ModalDriver::poll() {
    QWidget* top = QApplication::activePopupWidget();
    if (!top) top = QApplication::activeModalWidget();
    if (!top || !top->isVisible()) {
        m_current = nullptr;
        return;
    }
    if (top != m_current) {
        m_current = top;
        m_since.start();
    }
    const bool actedOn = std::find(m_actedOn.begin(), m_actedOn.end(), top) != m_actedOn.end();
    if (!actedOn && !m_actions.empty()) {
        m_actedOn.emplace_back(top);
        top->installEventFilter(this);
        Action action = std::move(m_actions.front());
        m_actions.pop_front();
        ++m_driven;
        // Posted, so the poll returns at once: the action may open a nested modal, which this
        // timer then drives in turn.
        QTimer::singleShot(0, top, [top, action = std::move(action)] { action(top); });
        return;
    }
    if (m_since.elapsed() < m_watchdog.count()) return;
    ADD_FAILURE() << "A modal window was left open: \"" << top->windowTitle().toStdString() << "\" ("
                  << top->metaObject()->className() << "); the watchdog closed it";
    m_actedOn.emplace_back(top);
    top->installEventFilter(this);
    m_since.start();
    if (auto* dialog = qobject_cast<QDialog*>(top)) dialog->done(0);
    else top->close();
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event) {
    // A window that has closed may open again (a dialog run twice): it then wants a new action.
    if (event->type() == QEvent::Hide) {
        m_actedOn.erase(std::remove(m_actedOn.begin(), m_actedOn.end(), watched), m_actedOn.end());
        watched->removeEventFilter(this);
    }
    return false;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) { return QTest::qWaitFor(condition, timeoutMs); }

bool showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

QAction* menuAction(const QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && plainMenuText(action) == text) return action;
    return nullptr;
}

bool chooseMenuItem(QWidget* popup, const QString& text) {
    auto* menu = qobject_cast<QMenu*>(popup);
    QAction* action = menu ? menuAction(menu, text) : nullptr;
    if (!action || !action->isEnabled()) return false;
    menu->setActiveAction(action);
    QTest::keyClick(menu, Qt::Key_Return);
    return true;
}

QStringList menuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) texts << (action->isSeparator() ? QStringLiteral("-") : plainMenuText(action));
    return texts;
}

}  // namespace kestrum::test
