#include <kestrum/ui/list_ctrl.h>

#include "elided_tip_delegate.h"

#include <kestrum/ui/constants.h>

#include <QScrollBar>

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kestrum::ui {

int virtualKey(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace: return VK_BACK;
        case Qt::Key_Tab: return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter: return VK_RETURN;
        case Qt::Key_Escape: return VK_ESCAPE;
        case Qt::Key_Space: return VK_SPACE;
        case Qt::Key_PageUp: return VK_PRIOR;
        case Qt::Key_PageDown: return VK_NEXT;
        case Qt::Key_End: return VK_END;
        case Qt::Key_Home: return VK_HOME;
        case Qt::Key_Left: return VK_LEFT;
        case Qt::Key_Up: return VK_UP;
        case Qt::Key_Right: return VK_RIGHT;
        case Qt::Key_Down: return VK_DOWN;
        case Qt::Key_Insert: return VK_INSERT;
        case Qt::Key_Delete: return VK_DELETE;
        default: return 0;
    }
}

}  // namespace kestrum::ui

namespace {

Qt::Alignment alignmentFor(int nFormat) {
    switch (nFormat & 3) {
        case LVCFMT_RIGHT: return Qt::AlignRight | Qt::AlignVCenter;
        case LVCFMT_CENTER: return Qt::AlignHCenter | Qt::AlignVCenter;
        default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace

CListCtrl::CListCtrl(QWidget* parent) : MessageWindow<QTreeWidget>(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    setItemDelegate(new kestrum::ui::ElidedTipDelegate(this));
}

void CListCtrl::SetSingleSelection(bool bSingle) {
    setSelectionMode(bSingle ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
}

int CListCtrl::InsertColumn(int nCol, const QString& heading, int nFormat, int nWidth) {
    const int columns = int(m_alignments.size());
    const int col = qBound(0, nCol, columns);
    m_alignments.insert(m_alignments.begin() + col, alignmentFor(nFormat));
    QStringList labels;
    for (int c = 0; c < columns; ++c) labels << headerItem()->text(c);
    labels.insert(col, heading);
    setColumnCount(columns + 1);
    setHeaderLabels(labels);
    for (int c = 0; c <= columns; ++c) headerItem()->setTextAlignment(c, m_alignments[c]);
    // The texts right of a column inserted among others move one column on.
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* entry = topLevelItem(row);
        for (int c = columns; c > col; --c) entry->setText(c, entry->text(c - 1));
        entry->setText(col, QString());
    }
    if (nWidth >= 0) header()->resizeSection(col, nWidth);
    return col;
}

int CListCtrl::InsertItem(int nItem, const QString& text) {
    const int row = qBound(0, nItem, topLevelItemCount());
    auto* entry = new QTreeWidgetItem;
    for (int c = 0; c < int(m_alignments.size()); ++c) entry->setTextAlignment(c, m_alignments[c]);
    entry->setText(0, text);
    insertTopLevelItem(row, entry);
    return row;
}

bool CListCtrl::SetItemText(int nItem, int nSubItem, const QString& text) {
    QTreeWidgetItem* entry = topLevelItem(nItem);
    if (!entry || nSubItem < 0 || nSubItem >= int(m_alignments.size())) return false;
    entry->setText(nSubItem, text);
    return true;
}

QString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    const QTreeWidgetItem* entry = topLevelItem(nItem);
    return entry ? entry->text(nSubItem) : QString();
}

bool CListCtrl::DeleteItem(int nItem) {
    QTreeWidgetItem* entry = takeTopLevelItem(nItem);
    delete entry;
    return entry != nullptr;
}

bool CListCtrl::DeleteAllItems() {
    clear();
    // A refilled list starts at the top, not where the old entries had been scrolled to.
    verticalScrollBar()->setValue(0);
    return true;
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
    for (int row = qMax(nItem + 1, 0); row < topLevelItemCount(); ++row) {
        const QTreeWidgetItem* entry = topLevelItem(row);
        const bool selected = entry->isSelected();
        const bool focused = currentItem() == entry;
        if ((nFlags & LVNI_SELECTED) && !selected) continue;
        if ((nFlags & LVNI_FOCUSED) && !focused) continue;
        return row;
    }
    return -1;
}

bool CListCtrl::SetItemState(int nItem, unsigned nState, unsigned nMask) {
    QTreeWidgetItem* entry = topLevelItem(nItem);
    if (!entry) return false;
    if (nMask & LVIS_SELECTED) entry->setSelected(nState & LVIS_SELECTED);
    if ((nMask & LVIS_FOCUSED) && (nState & LVIS_FOCUSED))
        setCurrentItem(entry, 0, QItemSelectionModel::NoUpdate);
    return true;
}

QRect CListCtrl::GetClientRect() const {
    const QRect inside = contentsRect();
    return {0, 0, inside.width(), inside.height()};
}

void CListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    MessageWindow<QTreeWidget>::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    emit dblClk(index.isValid() ? index.row() : -1, index.isValid() ? index.column() : -1);
}

void CListCtrl::keyPressEvent(QKeyEvent* event) {
    const int key = kestrum::ui::virtualKey(event->key());
    if (key != 0) emit keyDown(key);
    MessageWindow<QTreeWidget>::keyPressEvent(event);
}
