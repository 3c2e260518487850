// The tabs of a property sheet in stacked rows, as the platform lays out a sheet whose tabs do
// not fit its width: as many rows as needed, each stretched to the full width, and the row that
// holds the current tab next to the page (the rows turn round as the current tab changes).
#pragma once

#include <QTabBar>
#include <QTabWidget>

#include <vector>

namespace kestrum::ui {

class StackedTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit StackedTabBar(QWidget* parent = nullptr);

    // The width the rows are laid out for until the bar has a width of its own.
    void setRowWidth(int width);
    int rowCount() const;
    // Where tab `index` is drawn (an empty rectangle for a bad index).
    QRect stackedTabRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void tabLayoutChange() override;

private:
    int layoutWidth() const;
    int rowHeight() const;
    // Tab indices by row, in tab order.
    std::vector<std::vector<int>> rows(int width) const;
    std::vector<QRect> layout() const;
    int tabAtPoint(const QPoint& pos) const;

    int m_rowWidth = 0;
    int m_hovered = -1;
};

// A tab widget that can take a stacked tab bar (QTabWidget::setTabBar is protected).
class SheetTabWidget : public QTabWidget {
    Q_OBJECT
public:
    using QTabWidget::QTabWidget;
    void useTabBar(QTabBar* bar) { setTabBar(bar); }
};

}  // namespace kestrum::ui
