// Menus by command identifier: menu templates for resource modules, CMenu for loading,
// building and tracking a pop-up, whose chosen command reaches a window as WM_COMMAND.
#pragma once

#include <kestrum/ui/constants.h>
#include <kestrum/ui/export.h>

#include <QString>

#include <memory>
#include <vector>

class QWidget;

namespace kestrum::ui {

struct MenuItemTemplate {
    QString text;
    int id = 0;
    unsigned flags = MF_STRING;
    std::vector<MenuItemTemplate> items;  // a pop-up's items
};
using MenuTemplate = std::vector<MenuItemTemplate>;

KESTRUM_UI_API MenuItemTemplate MENUITEM(const QString& text, int id, unsigned flags = MF_STRING);
KESTRUM_UI_API MenuItemTemplate MENUITEM_SEPARATOR();
KESTRUM_UI_API MenuItemTemplate POPUP(const QString& text, std::vector<MenuItemTemplate> items);

}  // namespace kestrum::ui

class KESTRUM_UI_API CMenu {
public:
    CMenu();
    ~CMenu();
    Q_DISABLE_COPY(CMenu)

    // Replaces the items with the menu resource nIDResource; false when there is none.
    bool LoadMenu(int nIDResource);
    bool LoadMenu(const kestrum::ui::MenuTemplate& menu);
    bool CreatePopupMenu();  // empties the menu
    bool AppendMenu(unsigned nFlags, int nIDNewItem = 0, const QString& text = {});
    bool DeleteMenu(int nPosition, unsigned nFlags);
    unsigned EnableMenuItem(int nIDEnableItem, unsigned nEnable);  // previous state, or -1

    int GetMenuItemCount() const;
    int GetMenuItemID(int nPos) const;  // 0 for a separator, -1 for a pop-up or a bad position
    QString GetMenuString(int nIDItem, unsigned nFlags) const;
    CMenu* GetSubMenu(int nPos) const;

    // Shows the menu at the screen position (x, y) and waits for a choice. With TPM_RETURNCMD
    // returns the chosen command (0 for none); otherwise sends WM_COMMAND with it to pWnd and
    // returns whether a command was chosen.
    int TrackPopupMenu(unsigned nFlags, int x, int y, QWidget* pWnd) const;

private:
    struct Item {
        unsigned flags = MF_STRING;
        int id = 0;
        QString text;
        std::unique_ptr<CMenu> popup;
    };
    int positionOf(int nIDItem, unsigned nFlags) const;
    std::vector<Item> m_items;
    friend class MenuBuilder;
};
