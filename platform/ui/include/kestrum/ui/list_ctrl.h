// CListCtrl: a list view in report style (rows of columns, no tree), with the platform's
// operations and its two notifications: dblClk (NM_DBLCLK) with the row and column under the
// mouse (-1 when none), and keyDown (LVN_KEYDOWN) with the virtual-key code, sent before the
// control acts on the key.
#pragma once

#include <kestrum/ui/export.h>
#include <kestrum/ui/message_window.h>

#include <QTreeWidget>

#include <vector>

class KESTRUM_UI_API CListCtrl : public kestrum::ui::MessageWindow<QTreeWidget> {
    Q_OBJECT
public:
    explicit CListCtrl(QWidget* parent = nullptr);

    void SetSingleSelection(bool bSingle);

    int InsertColumn(int nCol, const QString& heading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    int InsertItem(int nItem, const QString& text);  // the new row (appended past the end)
    bool SetItemText(int nItem, int nSubItem, const QString& text);
    QString GetItemText(int nItem, int nSubItem) const;
    bool DeleteItem(int nItem);
    bool DeleteAllItems();
    int GetItemCount() const { return topLevelItemCount(); }
    // The next row after nItem (-1: from the top) with the state in nFlags (LVNI_SELECTED,
    // LVNI_FOCUSED; LVNI_ALL: any), or -1.
    int GetNextItem(int nItem, int nFlags) const;
    bool SetItemState(int nItem, unsigned nState, unsigned nMask);
    // The area inside the frame, valid before the control is first shown.
    QRect GetClientRect() const;

signals:
    void dblClk(int nItem, int nSubItem);
    void keyDown(int nVKey);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<Qt::Alignment> m_alignments;
};

namespace kestrum::ui {
// The platform's virtual-key code of a key (letters and digits as their upper-case character),
// 0 for keys without one.
KESTRUM_UI_API int virtualKey(int qtKey);
}  // namespace kestrum::ui
