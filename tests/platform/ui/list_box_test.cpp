#include <kestrum/ui/list_box.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QSignalSpy>
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
