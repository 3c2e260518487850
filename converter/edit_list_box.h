// CEditListBox: a sorted list box whose entries are added, removed and renamed through its
// context menu ("Add", "Remove", "Rename"). It asks for a name with the Name dialog where one is
// needed, keeps it as the entry name, and posts WM_EDIT_LIST_ADD, _REMOVE or _RENAME to its
// page with its own control identifier; the page makes the change in the engine and then in
// the list with the functions below.
#pragma once

#include <kestrum/ui/list_box.h>

class CEditListBox : public CListBox {
    Q_OBJECT
public:
    explicit CEditListBox(QWidget* parent = nullptr);

    // The name just typed for an add or a rename, or the text of the entry to remove.
    const QString& GetEntryName() const { return m_sEntryName; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool OnCommand(int nID, int nCode) override;

private:
    void OnAdd();
    void OnRemove();
    void OnRename();
    void post(unsigned message);

    QString m_sEntryName;
};

// The conventions every page follows for its lists:
// an added name goes in at the selected entry's index (0 when none is selected), not at its
// sorted place, and is selected;
int InsertAtSelection(CListBox& list, const QString& text);
// after a removal the entry now at the same index is selected, or the one before it when the
// last entry went; an emptied list has no selection;
void DeleteSelection(CListBox& list);
// a renamed entry is replaced in place by its new name, which is selected.
void ReplaceSelection(CListBox& list, const QString& text);
