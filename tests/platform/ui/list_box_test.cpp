#include <kestrum/ui/dialog.h>
#include <kestrum/ui/dialog_units.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/resources.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>
#include <QTest>

namespace {

QStringList entries(const CListBox& list) {
    QStringList texts;
    for (int i = 0; i < list.GetCount(); ++i) texts << list.GetText(i);
    return texts;
}

void clickEntry(CListBox& list, int index) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(index)).center());
}

}  // namespace

TEST(ListBox, SortedListOrdersEntriesWithoutRegardToCase) {
    CListBox list;
    list.SetSorted(true);
    for (const char* text : {"beta", "Alpha", "gamma", "alpha2", "Beta2", "ALPHA"}) list.AddString(QString::fromLatin1(text));
    // Entries equal but for case keep the order they were added in.
    EXPECT_EQ(entries(list), (QStringList{"Alpha", "ALPHA", "alpha2", "beta", "Beta2", "gamma"}));
    EXPECT_EQ(list.AddString(QStringLiteral("Delta")), 5);

    CListBox unsorted;
    for (const char* text : {"beta", "Alpha"}) unsorted.AddString(QString::fromLatin1(text));
    EXPECT_EQ(entries(unsorted), (QStringList{"beta", "Alpha"}));
}

TEST(ListBox, InsertStringPutsTheEntryAtItsIndexEvenWhenSorted) {
    CListBox list;
    list.SetSorted(true);
    list.AddString(QStringLiteral("a"));
    list.AddString(QStringLiteral("c"));
    EXPECT_EQ(list.InsertString(0, QStringLiteral("zebra")), 0);
    EXPECT_EQ(list.InsertString(-1, QStringLiteral("b")), 3);
    EXPECT_EQ(list.InsertString(9, QStringLiteral("x")), LB_ERR);
    EXPECT_EQ(entries(list), (QStringList{"zebra", "a", "c", "b"}));
}

TEST(ListBox, FindingMatchesFromAfterTheStartWrappingRoundIgnoringCase) {
    CListBox list;
    for (const char* text : {"meter", "Mile", "minute", "second"}) list.AddString(QString::fromLatin1(text));
    EXPECT_EQ(list.FindString(-1, QStringLiteral("MI")), 1);
    EXPECT_EQ(list.FindString(1, QStringLiteral("mi")), 2);
    EXPECT_EQ(list.FindString(2, QStringLiteral("mi")), 1);  // wraps round
    EXPECT_EQ(list.FindString(-1, QStringLiteral("hour")), LB_ERR);
    EXPECT_EQ(list.FindStringExact(-1, QStringLiteral("mi")), LB_ERR);
    EXPECT_EQ(list.FindStringExact(-1, QStringLiteral("MINUTE")), 2);
    EXPECT_EQ(list.FindString(-1, QString()), 0);
    CListBox empty;
    EXPECT_EQ(empty.FindString(-1, QStringLiteral("a")), LB_ERR);
}

TEST(ListBox, OnlyTheUserChangingTheSelectionNotifies) {
    CListBox list;
    for (const char* text : {"a", "b", "c", "d"}) list.AddString(QString::fromLatin1(text));
    list.resize(100, 120);
    ASSERT_TRUE(kestrum::test::showActive(&list));
    QSignalSpy spy(&list, &CListBox::selChange);

    EXPECT_EQ(list.SetCurSel(1), 1);
    EXPECT_EQ(list.SelectString(-1, QStringLiteral("c")), 2);
    list.DeleteString(2);
    list.InsertString(0, QStringLiteral("new"));
    EXPECT_EQ(spy.count(), 0);

    clickEntry(list, 3);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(list.GetCurSel(), 3);
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(list.GetCurSel(), 2);
    list.setCurrentRow(0);  // Qt's own call stands for the user in tests
    EXPECT_EQ(spy.count(), 3);
    list.ResetContent();
    EXPECT_EQ(spy.count(), 3);
}

TEST(ListBox, DeletingTheSelectedEntryLeavesNoSelection) {
    CListBox list;
    for (const char* text : {"a", "b", "c"}) list.AddString(QString::fromLatin1(text));
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    list.SetCurSel(1);
    EXPECT_EQ(list.DeleteString(1), 2);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    list.AddString(QStringLiteral("d"));
    list.SetCurSel(2);
    list.DeleteString(0);  // another entry: the selection stays on its entry
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(list.GetText(1), QStringLiteral("d"));
    list.SetCurSel(0);
    EXPECT_EQ(list.SetCurSel(-1), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_EQ(list.DeleteString(5), LB_ERR);
    EXPECT_TRUE(list.GetText(5).isEmpty());
}

namespace {

const QString kLong = QStringLiteral("British thermal unit per hour square foot degree Fahrenheit");

// What the user sees after resting the mouse on the entry: Qt sends the view's viewport a
// tool-tip event once the pointer has stayed still.
QString toolTipOver(QAbstractItemView& view, const QRect& entry) {
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000)) << "the tip shown before is gone";
    const QPoint at(qMin(entry.left() + 10, view.viewport()->width() - 5), entry.center().y());
    QHelpEvent event(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

struct ShownList {
    QWidget window;
    CListBox* list = new CListBox(&window);
    explicit ShownList(QSize size = {90, 100}) {
        list->setGeometry(QRect(QPoint(5, 5), size));
        window.resize(size + QSize(10, 10));
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

}  // namespace

TEST(ListBox, AnEntryCutShortShowsItsWholeTextAsATooltip) {
    ShownList shown;
    shown.list->AddString(QStringLiteral("m"));
    shown.list->AddString(kLong);
    QApplication::processEvents();
    EXPECT_EQ(toolTipOver(*shown.list, shown.list->visualItemRect(shown.list->item(1))), kLong);
    EXPECT_EQ(toolTipOver(*shown.list, shown.list->visualItemRect(shown.list->item(0))), QString());
    // No horizontal scroll bar takes the room of a row, as on the platform without an extent set.
    EXPECT_FALSE(shown.list->horizontalScrollBar()->isVisible());
}

TEST(ListBox, ARefilledListStartsAtItsFirstEntry) {
    ShownList shown;
    for (int i = 0; i < 60; ++i) shown.list->AddString(QStringLiteral("unit %1").arg(i, 2, 10, QChar(u'0')));
    clickEntry(*shown.list, 0);
    QTest::keyClick(shown.list, Qt::Key_End);  // the user goes to the last entry
    QApplication::processEvents();
    ASSERT_GT(shown.list->verticalScrollBar()->value(), 0);
    shown.list->ResetContent();
    for (int i = 0; i < 60; ++i) shown.list->AddString(QStringLiteral("other %1").arg(i, 2, 10, QChar(u'0')));
    QApplication::processEvents();
    EXPECT_EQ(shown.list->verticalScrollBar()->value(), 0);
    EXPECT_EQ(shown.list->visualItemRect(shown.list->item(0)).top(), 0);
}

TEST(ListBox, ATemplatesListHoldsWholeRowsUnlessToldNotTo) {
    using namespace kestrum::ui;
    // Heights in dialog units that are not a whole number of rows.
    const int heights[] = {61, 75, 146};
    DialogTemplate t{.id = 9801, .caption = QStringLiteral("Lists"), .cx = 300, .cy = 200};
    for (int i = 0; i < 3; ++i) t.controls.push_back(LISTBOX(1000 + i, 7 + 60 * i, 7, 50, heights[i], WS_VSCROLL | WS_TABSTOP));
    t.controls.push_back(LISTBOX(1003, 190, 7, 50, 61, WS_VSCROLL | LBS_NOINTEGRALHEIGHT));
    ResourceModule::application().addDialog(t);
    CDialog dialog(9801);
    ASSERT_TRUE(dialog.Create());
    for (int id = 1000; id <= 1003; ++id)
        for (int i = 0; i < 30; ++i) dialog.DlgItem<CListBox>(id)->AddString(QStringLiteral("entry %1").arg(i));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (int i = 0; i < 3; ++i) {
        auto* list = dialog.DlgItem<CListBox>(1000 + i);
        const int asked = MulDiv(heights[i], dialog.baseUnits().y, 8);
        const int row = list->visualItemRect(list->item(0)).height();
        ASSERT_GT(row, 0);
        EXPECT_EQ(list->viewport()->height() % row, 0) << heights[i] << " units, rows of " << row;
        EXPECT_LE(list->height(), asked);
        EXPECT_GT(list->height(), asked - row);
    }
    EXPECT_EQ(dialog.DlgItem<CListBox>(1003)->height(), MulDiv(61, dialog.baseUnits().y, 8));
}
