#include <kestrum/ui/menu.h>

#include <kestrum/ui/message_window.h>
#include <kestrum/ui/resources.h>

#include <QAction>
#include <QMenu>
#include <QPointer>

namespace kestrum::ui {

MenuItemTemplate MENUITEM(const QString& text, int id, unsigned flags) { return {text, id, flags, {}}; }

MenuItemTemplate MENUITEM_SEPARATOR() { return {{}, 0, MF_SEPARATOR, {}}; }

MenuItemTemplate POPUP(const QString& text, std::vector<MenuItemTemplate> items) {
    return {text, 0, MF_POPUP, std::move(items)};
}

}  // namespace kestrum::ui

// Turns a CMenu into the QMenu that shows it; an action's data is its command.
class MenuBuilder {
public:
    static void fill(const CMenu& menu, QMenu* target) {
        for (const CMenu::Item& item : menu.m_items) {
            if (item.flags & MF_SEPARATOR) {
                target->addSeparator();
            } else if (item.popup) {
                QMenu* sub = target->addMenu(item.text);
                sub->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
                fill(*item.popup, sub);
            } else {
                QAction* action = target->addAction(item.text);
                action->setData(item.id);
                action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
                if (item.flags & MF_CHECKED) {
                    action->setCheckable(true);
                    action->setChecked(true);
                }
            }
        }
    }
};

CMenu::CMenu() = default;
CMenu::~CMenu() = default;

bool CMenu::LoadMenu(int nIDResource) {
    const kestrum::ui::MenuTemplate* menu = kestrum::ui::findMenu(nIDResource);
    return menu && LoadMenu(*menu);
}

bool CMenu::LoadMenu(const kestrum::ui::MenuTemplate& menu) {
    m_items.clear();
    for (const kestrum::ui::MenuItemTemplate& item : menu) {
        if (item.flags & MF_POPUP) {
            auto popup = std::make_unique<CMenu>();
            popup->LoadMenu(item.items);
            m_items.push_back({item.flags, -1, item.text, std::move(popup)});
        } else {
            m_items.push_back({item.flags, item.id, item.text, nullptr});
        }
    }
    return true;
}

bool CMenu::CreatePopupMenu() {
    m_items.clear();
    return true;
}

bool CMenu::AppendMenu(unsigned nFlags, int nIDNewItem, const QString& text) {
    m_items.push_back({nFlags, (nFlags & MF_SEPARATOR) ? 0 : nIDNewItem, text, nullptr});
    return true;
}

int CMenu::positionOf(int nIDItem, unsigned nFlags) const {
    if (nFlags & MF_BYPOSITION) return nIDItem >= 0 && nIDItem < int(m_items.size()) ? nIDItem : -1;
    for (int i = 0; i < int(m_items.size()); ++i)
        if (!m_items[i].popup && !(m_items[i].flags & MF_SEPARATOR) && m_items[i].id == nIDItem) return i;
    return -1;
}

bool CMenu::DeleteMenu(int nPosition, unsigned nFlags) {
    const int pos = positionOf(nPosition, nFlags);
    if (pos < 0) return false;
    m_items.erase(m_items.begin() + pos);
    return true;
}

unsigned CMenu::EnableMenuItem(int nIDEnableItem, unsigned nEnable) {
    const int pos = positionOf(nIDEnableItem, nEnable);
    if (pos < 0) return unsigned(-1);
    unsigned& flags = m_items[pos].flags;
    const unsigned previous = flags & (MF_GRAYED | MF_DISABLED);
    flags = (flags & ~(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

int CMenu::GetMenuItemCount() const { return int(m_items.size()); }

int CMenu::GetMenuItemID(int nPos) const {
    if (nPos < 0 || nPos >= int(m_items.size())) return -1;
    return m_items[nPos].popup ? -1 : m_items[nPos].id;
}

QString CMenu::GetMenuString(int nIDItem, unsigned nFlags) const {
    const int pos = positionOf(nIDItem, nFlags);
    return pos < 0 ? QString() : m_items[pos].text;
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    if (nPos < 0 || nPos >= int(m_items.size())) return nullptr;
    return m_items[nPos].popup.get();
}

int CMenu::TrackPopupMenu(unsigned nFlags, int x, int y, QWidget* pWnd) const {
    QPointer<QWidget> target(pWnd);
    QMenu menu(pWnd);
    MenuBuilder::fill(*this, &menu);
    const QAction* chosen = menu.exec(QPoint(x, y));
    const int command = chosen ? chosen->data().toInt() : 0;
    if (nFlags & TPM_RETURNCMD) return command;
    if (command != 0 && target) SendMessage(target, WM_COMMAND, kestrum::ui::commandParam(command, 0), 0);
    return command != 0;
}
