#include "edit_list_box.h"

#include "command_routing.h"
#include "name_dialog.h"
#include "resource_ids.h"

#include <kestrum/ui/dialog_items.h>
#include <kestrum/ui/menu.h>
#include <kestrum/ui/message_window.h>

#include <QContextMenuEvent>

namespace {
// Where a menu opened from the keyboard goes: just inside the list's top-left corner.
constexpr int kKeyboardMenuOffset = 5;
}  // namespace

CEditListBox::CEditListBox(QWidget* parent) : CListBox(parent) {}

void CEditListBox::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint at = event->reason() == QContextMenuEvent::Keyboard
                          ? viewport()->mapToGlobal(QPoint(kKeyboardMenuOffset, kKeyboardMenuOffset))
                          : event->globalPos();
    event->accept();
    CMenu menu;
    if (!menu.LoadMenu(IDR_EDIT_LIST_MENU)) return;
    if (CMenu* popup = menu.GetSubMenu(0)) popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x(), at.y(), this);
}

bool CEditListBox::OnCommand(int nID, int nCode) {
    return nCode == 0 && RouteCommand(nID, {{ID_EDIT_ADD, [this] { OnAdd(); }},
                                            {ID_EDIT_REMOVE, [this] { OnRemove(); }},
                                            {ID_EDIT_RENAME, [this] { OnRename(); }}});
}

void CEditListBox::OnAdd() {
    // With entries to choose from, an add needs a selection: the new entry goes in there.
    if (GetCount() > 0 && GetCurSel() == LB_ERR) return;
    CNameDlg dialog(this);
    if (dialog.DoModal() != IDOK || dialog.m_sName.isEmpty()) return;
    m_sEntryName = dialog.m_sName;
    post(WM_EDIT_LIST_ADD);
}

void CEditListBox::OnRemove() {
    const int selected = GetCurSel();
    if (selected == LB_ERR) return;
    m_sEntryName = GetText(selected);
    post(WM_EDIT_LIST_REMOVE);
}

void CEditListBox::OnRename() {
    const int selected = GetCurSel();
    if (selected == LB_ERR) return;
    CNameDlg dialog(this);
    dialog.m_sName = GetText(selected);
    if (dialog.DoModal() != IDOK || dialog.m_sName.isEmpty()) return;
    m_sEntryName = dialog.m_sName;
    post(WM_EDIT_LIST_RENAME);
}

void CEditListBox::post(unsigned message) { PostMessage(parentWidget(), message, quintptr(GetDlgCtrlID(this)), 0); }

int InsertAtSelection(CListBox& list, const QString& text) {
    const int selected = list.GetCurSel();
    const int index = list.InsertString(selected == LB_ERR ? 0 : selected, text);
    list.SetCurSel(index);
    return index;
}

void DeleteSelection(CListBox& list) {
    const int selected = list.GetCurSel();
    if (selected == LB_ERR) return;
    const int left = list.DeleteString(selected);
    list.SetCurSel(left == 0 ? -1 : qMin(selected, left - 1));
}

void ReplaceSelection(CListBox& list, const QString& text) {
    const int selected = list.GetCurSel();
    if (selected == LB_ERR) return;
    list.DeleteString(selected);
    list.InsertString(selected, text);
    list.SetCurSel(selected);
}
