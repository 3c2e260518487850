#include <kestrum/ui/list_box.h>

#include "elided_tip_delegate.h"

#include <kestrum/ui/constants.h>

#include <QResizeEvent>
#include <QScrollBar>

namespace {

// Sorted list boxes order their entries without regard to case.
class ListBoxItem : public QListWidgetItem {
public:
    explicit ListBoxItem(const QString& text) : QListWidgetItem(text) {}
    bool operator<(const QListWidgetItem& other) const override {
        return QString::compare(text(), other.text(), Qt::CaseInsensitive) < 0;
    }
};

}  // namespace

// Marks a change the program makes, which sends no notification.
class QuietListChange {
public:
    explicit QuietListChange(CListBox* list) : m_list(list) { ++m_list->m_quiet; }
    ~QuietListChange() { --m_list->m_quiet; }
    Q_DISABLE_COPY(QuietListChange)

private:
    CListBox* m_list;
};

CListBox::CListBox(QWidget* parent) : MessageWindow<QListWidget>(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    auto* delegate = new kestrum::ui::ElidedTipDelegate(this);
    delegate->setFitToViewport(true);
    setItemDelegate(delegate);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_quiet == 0) emit selChange();
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { emit dblClk(); });
}

int CListBox::AddString(const QString& text) {
    QuietListChange quiet(this);
    auto* item = new ListBoxItem(text);
    int index = count();
    if (m_sorted) {
        // After every entry that does not sort after the new one: equal entries keep their order.
        int low = 0, high = count();
        while (low < high) {
            const int mid = (low + high) / 2;
            if (*item < *this->item(mid)) high = mid;
            else low = mid + 1;
        }
        index = low;
    }
    insertItem(index, item);
    return index;
}

int CListBox::InsertString(int nIndex, const QString& text) {
    if (nIndex < -1 || nIndex > count()) return LB_ERR;
    QuietListChange quiet(this);
    const int index = nIndex == -1 ? count() : nIndex;
    insertItem(index, new ListBoxItem(text));
    return index;
}

int CListBox::DeleteString(int nIndex) {
    if (nIndex < 0 || nIndex >= count()) return LB_ERR;
    QuietListChange quiet(this);
    // The view would select the entry that moves into the deleted one's place.
    const bool selected = GetCurSel() == nIndex;
    delete takeItem(nIndex);
    if (selected) clearSelection();
    return count();
}

void CListBox::ResetContent() {
    QuietListChange quiet(this);
    clear();
    // The scroll range is only updated at the next layout; entries added before it would be
    // shown from the old position, their first ones hidden.
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void CListBox::SetIntegralHeight(bool bIntegral) {
    m_integralHeight = bIntegral;
    if (bIntegral) resize(width(), integralHeight(height()));
}

int CListBox::rowHeight() const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("Xg");
    return qMax(1, style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height() + spacing());
}

int CListBox::integralHeight(int height) const {
    const int frame = 2 * frameWidth();
    const int row = rowHeight();
    return frame + qMax(1, (height - frame) / row) * row;
}

void CListBox::resizeEvent(QResizeEvent* event) {
    MessageWindow<QListWidget>::resizeEvent(event);
    if (!m_integralHeight) return;
    const int fitted = integralHeight(height());
    if (fitted != height()) resize(width(), fitted);
}

QString CListBox::GetText(int nIndex) const {
    const QListWidgetItem* entry = item(nIndex);
    return entry ? entry->text() : QString();
}

int CListBox::GetCurSel() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? LB_ERR : row(selected.first());
}

int CListBox::SetCurSel(int nSelect) {
    QuietListChange quiet(this);
    if (nSelect < 0 || nSelect >= count()) {
        clearSelection();
        setCurrentRow(-1);
        return LB_ERR;
    }
    setCurrentRow(nSelect, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(nSelect));
    return nSelect;
}

int CListBox::FindString(int nStartAfter, const QString& prefix) const {
    const int n = count();
    for (int k = 1; k <= n; ++k) {
        const int i = ((nStartAfter < 0 ? -1 : nStartAfter) + k) % n;
        if (GetText(i).startsWith(prefix, Qt::CaseInsensitive)) return i;
    }
    return LB_ERR;
}

int CListBox::FindStringExact(int nStartAfter, const QString& text) const {
    const int n = count();
    for (int k = 1; k <= n; ++k) {
        const int i = ((nStartAfter < 0 ? -1 : nStartAfter) + k) % n;
        if (QString::compare(GetText(i), text, Qt::CaseInsensitive) == 0) return i;
    }
    return LB_ERR;
}

int CListBox::SelectString(int nStartAfter, const QString& prefix) {
    const int index = FindString(nStartAfter, prefix);
    if (index != LB_ERR) SetCurSel(index);
    return index;
}
