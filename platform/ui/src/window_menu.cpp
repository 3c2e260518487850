#include <kestrum/ui/window_menu.h>

#include <kestrum/ui/message_window.h>
#include <kestrum/ui/property_page.h>

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>

namespace kestrum::ui {
namespace {

// Places where a right click means the window rather than a control: the window itself, a
// page or the containers around it, static texts and pictures, group boxes.
bool isFreeArea(const QWidget* window, const QWidget* under) {
    if (!under || under == window) return true;
    if (qobject_cast<const QLabel*>(under) || qobject_cast<const QGroupBox*>(under)) return true;
    if (qobject_cast<const CPropertyPage*>(under) || qobject_cast<const QStackedWidget*>(under) ||
        qobject_cast<const QTabWidget*>(under))
        return true;
    return under->metaObject() == &QWidget::staticMetaObject;
}

}  // namespace

WindowMenu::WindowMenu(QWidget* window) : m_window(window) {
    reset();
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window,
                     [this] { open(m_window->mapToGlobal(m_window->contentsRect().topLeft())); });
}

void WindowMenu::reset() {
    m_menu.CreatePopupMenu();
    m_menu.AppendMenu(MF_STRING, int(SC_CLOSE), QStringLiteral("&Close"));
}

bool WindowMenu::handleContextMenu(QContextMenuEvent* event) {
    const QWidget* under = m_window->childAt(m_window->mapFromGlobal(event->globalPos()));
    if (!isFreeArea(m_window, under)) return false;
    event->accept();
    open(event->globalPos());
    return true;
}

void WindowMenu::open(const QPoint& globalPos) {
    QPointer<QWidget> window(m_window);
    const int command = m_menu.TrackPopupMenu(TPM_RETURNCMD, globalPos.x(), globalPos.y(), m_window);
    if (command != 0 && window) SendMessage(window, WM_SYSCOMMAND, quintptr(command), 0);
}

}  // namespace kestrum::ui
