#include <kestrum/ui/list_ctrl.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList row(const CListCtrl& view, int item) {
    QStringList texts;
    for (int c = 0; c < view.columnCount(); ++c) texts << view.GetItemText(item, c);
    return texts;
}

}  // namespace

TEST(ListCtrl, ColumnsAndRowsHoldTheirTexts) {
    CListCtrl view;
    EXPECT_EQ(view.InsertColumn(0, QStringLiteral("Quantity"), LVCFMT_LEFT, 120), 0);
    EXPECT_EQ(view.InsertColumn(1, QStringLiteral("Preferred Unit"), LVCFMT_LEFT, 80), 1);
    EXPECT_EQ(view.header()->sectionSize(0), 120);
    EXPECT_EQ(view.headerItem()->text(1), QStringLiteral("Preferred Unit"));

    EXPECT_EQ(view.InsertItem(0, QStringLiteral("length")), 0);
    EXPECT_EQ(view.InsertItem(1, QStringLiteral("time")), 1);
    EXPECT_EQ(view.InsertItem(99, QStringLiteral("mass")), 2);  // past the end: appended
    EXPECT_EQ(view.InsertItem(0, QStringLiteral("area")), 0);
    EXPECT_TRUE(view.SetItemText(1, 1, QStringLiteral("foot")));
    EXPECT_FALSE(view.SetItemText(1, 2, QStringLiteral("no such column")));
    EXPECT_FALSE(view.SetItemText(9, 0, QStringLiteral("no such row")));
    EXPECT_EQ(row(view, 1), (QStringList{"length", "foot"}));
    EXPECT_EQ(view.GetItemCount(), 4);

    // A column inserted among others moves the texts to its right.
    view.InsertColumn(1, QStringLiteral("Symbol"));
    EXPECT_EQ(row(view, 1), (QStringList{"length", "", "foot"}));
    EXPECT_EQ(view.headerItem()->text(2), QStringLiteral("Preferred Unit"));

    EXPECT_TRUE(view.DeleteItem(0));
    EXPECT_FALSE(view.DeleteItem(9));
    EXPECT_EQ(view.GetItemText(0, 0), QStringLiteral("length"));
    EXPECT_TRUE(view.DeleteAllItems());
    EXPECT_EQ(view.GetItemCount(), 0);
    EXPECT_EQ(view.columnCount(), 3);
}

TEST(ListCtrl, SelectionIsFoundWithGetNextItem) {
    CListCtrl view;
    view.SetSingleSelection(true);
    view.InsertColumn(0, QStringLiteral("Quantity"));
    for (int i = 0; i < 4; ++i) view.InsertItem(i, QString::number(i));
    EXPECT_EQ(view.GetNextItem(-1, LVNI_SELECTED), -1);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_ALL), 0);
    EXPECT_EQ(view.GetNextItem(1, LVNI_ALL), 2);
    view.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_FOCUSED), 2);
    EXPECT_EQ(view.GetNextItem(2, LVNI_SELECTED), -1);
    view.SetItemState(2, 0, LVIS_SELECTED);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_SELECTED), -1);
}

TEST(ListCtrl, NotifiesDoubleClicksWithTheirCellAndKeysWithTheirVirtualKey) {
    CListCtrl view;
    view.SetSingleSelection(true);
    view.InsertColumn(0, QStringLiteral("Quantity"), LVCFMT_LEFT, 100);
    view.InsertColumn(1, QStringLiteral("Preferred Unit"), LVCFMT_LEFT, 100);
    for (int i = 0; i < 3; ++i) view.InsertItem(i, QString::number(i));
    view.resize(220, 200);
    view.show();
    QSignalSpy clicks(&view, &CListCtrl::dblClk);
    QSignalSpy keys(&view, &CListCtrl::keyDown);

    const QRect cell = view.visualRect(view.model()->index(1, 0));
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 1);
    EXPECT_EQ(clicks.at(0).at(1).toInt(), 0);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_SELECTED), 1);

    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(10, view.viewport()->height() - 5));
    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(1).at(0).toInt(), -1);

    QTest::keyClick(&view, Qt::Key_Delete);
    QTest::keyClick(&view, Qt::Key_A);
    ASSERT_EQ(keys.count(), 2);
    EXPECT_EQ(keys.at(0).at(0).toInt(), 46);
    EXPECT_EQ(keys.at(1).at(0).toInt(), int('A'));
}

TEST(ListCtrl, ClientRectIsKnownBeforeTheViewIsShown) {
    CListCtrl view;
    view.setGeometry(0, 0, 300, 150);
    const QRect client = view.GetClientRect();
    EXPECT_EQ(client.width(), 300 - 2 * view.frameWidth());
    EXPECT_EQ(client.height(), 150 - 2 * view.frameWidth());
}

namespace {

QString toolTipOver(QAbstractItemView& view, const QRect& cell) {
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000)) << "the tip shown before is gone";
    const QPoint at = cell.center();
    QHelpEvent event(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

TEST(ListCtrl, ACellCutShortShowsItsWholeTextAsATooltip) {
    CListCtrl view;
    view.resize(200, 120);
    view.InsertColumn(0, QStringLiteral("Quantity"), LVCFMT_LEFT, 60);
    view.InsertColumn(1, QStringLiteral("Unit"), LVCFMT_LEFT, 60);
    view.InsertItem(0, QStringLiteral("Thermal conductance"));
    view.SetItemText(0, 1, QStringLiteral("m"));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QModelIndex quantity = view.model()->index(0, 0), unit = view.model()->index(0, 1);
    EXPECT_EQ(toolTipOver(view, view.visualRect(quantity)), QStringLiteral("Thermal conductance"));
    EXPECT_EQ(toolTipOver(view, view.visualRect(unit)), QString());
}

TEST(ListCtrl, ARefilledListStartsAtTheTop) {
    CListCtrl view;
    view.resize(200, 120);
    view.InsertColumn(0, QStringLiteral("Quantity"), LVCFMT_LEFT, 150);
    for (int i = 0; i < 50; ++i) view.InsertItem(i, QStringLiteral("quantity %1").arg(i));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_End);
    QApplication::processEvents();
    ASSERT_GT(view.verticalScrollBar()->value(), 0);
    view.DeleteAllItems();
    for (int i = 0; i < 50; ++i) view.InsertItem(i, QStringLiteral("other %1").arg(i));
    QApplication::processEvents();
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    EXPECT_EQ(view.visualRect(view.model()->index(0, 0)).top(), 0);
}
