// The window menu. Linux window managers do not give programs a system menu, so a window that
// has one (WS_SYSMENU) opens it itself: by a right click on a free area of the window (the
// window itself, a page, a static text, a group box) and by Alt+Space where the window manager
// passes that key on. It holds "Close" and whatever the program appends; a choice reaches the
// window as WM_SYSCOMMAND with the item's identifier.
#pragma once

#include <kestrum/ui/export.h>
#include <kestrum/ui/menu.h>

#include <QPoint>

class QContextMenuEvent;
class QWidget;

namespace kestrum::ui {

class KESTRUM_UI_API WindowMenu {
public:
    explicit WindowMenu(QWidget* window);

    CMenu* menu() { return &m_menu; }
    void reset();  // back to "Close" alone

    // Opens the menu at the event's position when it is over a free area; answers whether it did.
    bool handleContextMenu(QContextMenuEvent* event);
    void open(const QPoint& globalPos);

private:
    QWidget* m_window;
    CMenu m_menu;
};

}  // namespace kestrum::ui
