// Item views draw an entry too long for its cell cut short with "…"; resting the mouse on such
// an entry shows its whole text as a tooltip.
#pragma once

#include <QStyledItemDelegate>

namespace kestrum::ui {

class ElidedTipDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Entries no wider than the view's viewport, so a view that does not scroll sideways cuts
    // them short instead of letting them run past its edge.
    void setFitToViewport(bool fit) { m_fitToViewport = fit; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    bool m_fitToViewport = false;
};

}  // namespace kestrum::ui
