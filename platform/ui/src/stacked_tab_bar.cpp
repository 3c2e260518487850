#include "stacked_tab_bar.h"

#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>

#include <algorithm>

namespace kestrum::ui {

StackedTabBar::StackedTabBar(QWidget* parent) : QTabBar(parent) {
    setUsesScrollButtons(false);
    setExpanding(false);
    setElideMode(Qt::ElideNone);
    setDrawBase(false);
    setMouseTracking(true);
    connect(this, &QTabBar::currentChanged, this, qOverload<>(&QWidget::update));
}

void StackedTabBar::setRowWidth(int width) {
    m_rowWidth = width;
    updateGeometry();
    update();
}

int StackedTabBar::layoutWidth() const {
    if (width() > 0 && isVisible()) return width();
    return m_rowWidth > 0 ? m_rowWidth : QTabBar::sizeHint().width();
}

int StackedTabBar::rowHeight() const {
    int height = 0;
    for (int i = 0; i < count(); ++i) height = std::max(height, tabSizeHint(i).height());
    return height;
}

std::vector<std::vector<int>> StackedTabBar::rows(int width) const {
    std::vector<std::vector<int>> result;
    int used = 0;
    for (int i = 0; i < count(); ++i) {
        const int w = tabSizeHint(i).width();
        if (result.empty() || (used + w > width && !result.back().empty())) {
            result.emplace_back();
            used = 0;
        }
        result.back().push_back(i);
        used += w;
    }
    return result;
}

int StackedTabBar::rowCount() const { return int(rows(layoutWidth()).size()); }

std::vector<QRect> StackedTabBar::layout() const {
    std::vector<QRect> rects(static_cast<std::size_t>(count()));
    const int width = layoutWidth();
    const auto tabRows = rows(width);
    if (tabRows.empty()) return rects;
    // The row with the current tab is drawn last, next to the page; the others keep their
    // order above it, turned round so the order of all tabs reads on.
    std::size_t currentRow = 0;
    for (std::size_t r = 0; r < tabRows.size(); ++r)
        if (std::find(tabRows[r].begin(), tabRows[r].end(), currentIndex()) != tabRows[r].end()) currentRow = r;
    const int height = rowHeight();
    for (std::size_t k = 0; k < tabRows.size(); ++k) {
        const auto& row = tabRows[(currentRow + 1 + k) % tabRows.size()];
        const int y = int(k) * height;
        int natural = 0;
        for (int i : row) natural += tabSizeHint(i).width();
        // Every row is stretched to the full width, the spare pixels shared out from the left.
        const int spare = std::max(0, width - natural);
        int x = 0;
        for (std::size_t j = 0; j < row.size(); ++j) {
            const int extra = spare / int(row.size()) + (int(j) < spare % int(row.size()) ? 1 : 0);
            const int w = tabSizeHint(row[j]).width() + extra;
            rects[std::size_t(row[j])] = QRect(x, y, w, height);
            x += w;
        }
    }
    return rects;
}

QRect StackedTabBar::stackedTabRect(int index) const {
    if (index < 0 || index >= count()) return {};
    return layout()[std::size_t(index)];
}

int StackedTabBar::tabAtPoint(const QPoint& pos) const {
    const std::vector<QRect> rects = layout();
    for (int i = 0; i < int(rects.size()); ++i)
        if (rects[std::size_t(i)].contains(pos)) return i;
    return -1;
}

QSize StackedTabBar::sizeHint() const {
    const int width = m_rowWidth > 0 ? m_rowWidth : QTabBar::sizeHint().width();
    return {width, int(rows(width).size()) * rowHeight()};
}

QSize StackedTabBar::minimumSizeHint() const { return sizeHint(); }

void StackedTabBar::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QStylePainter painter(this);
    const std::vector<QRect> rects = layout();
    auto paintTab = [&](int i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.rect = rects[std::size_t(i)];
        option.state &= ~(QStyle::State_MouseOver | QStyle::State_Selected | QStyle::State_HasFocus);
        if (i == m_hovered) option.state |= QStyle::State_MouseOver;
        if (i == currentIndex()) option.state |= QStyle::State_Selected;
        // Position within its own row, and whether the selected tab is a neighbour there.
        const bool first = option.rect.left() == 0;
        const bool last = option.rect.right() >= layoutWidth() - 1;
        option.position = first && last ? QStyleOptionTab::OnlyOneTab
                          : first       ? QStyleOptionTab::Beginning
                          : last        ? QStyleOptionTab::End
                                        : QStyleOptionTab::Middle;
        option.selectedPosition = QStyleOptionTab::NotAdjacent;
        if (currentIndex() >= 0 && rects[std::size_t(currentIndex())].top() == option.rect.top()) {
            if (currentIndex() == i - 1) option.selectedPosition = QStyleOptionTab::PreviousIsSelected;
            if (currentIndex() == i + 1) option.selectedPosition = QStyleOptionTab::NextIsSelected;
        }
        painter.drawControl(QStyle::CE_TabBarTab, option);
    };
    for (int i = 0; i < count(); ++i)
        if (i != currentIndex()) paintTab(i);
    if (currentIndex() >= 0) paintTab(currentIndex());
}

void StackedTabBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int index = tabAtPoint(event->position().toPoint());
    if (index >= 0 && isTabEnabled(index)) setCurrentIndex(index);
    event->accept();
}

void StackedTabBar::mouseMoveEvent(QMouseEvent* event) {
    const int hovered = tabAtPoint(event->position().toPoint());
    if (hovered != m_hovered) {
        m_hovered = hovered;
        update();
    }
    event->accept();
}

void StackedTabBar::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void StackedTabBar::leaveEvent(QEvent* event) {
    QTabBar::leaveEvent(event);
    m_hovered = -1;
    update();
}

void StackedTabBar::resizeEvent(QResizeEvent* event) {
    QTabBar::resizeEvent(event);
    updateGeometry();
}

void StackedTabBar::tabLayoutChange() {
    QTabBar::tabLayoutChange();
    updateGeometry();
    update();
}

}  // namespace kestrum::ui
