// The UnitSystem Database page: the map from quantities to preferred units, changed by a
// double-click and cleared with the Delete key, and the unit-system list's edits.
#include "converter_fixture.h"

#include <QDialog>
#include <QHeaderView>
#include <QTest>

using namespace converter_test;

namespace {

class UnitSystemPage : public ConverterTest {
protected:
    void SetUp() override {
        ConverterTest::SetUp();
        openSheet(6);
        // Clicks need the map laid out on screen.
        m_sheet->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_sheet.get()));
    }
    CListBox* systemList() { return systems().DlgItem<CListBox>(IDC_UNIT_SYSTEM_LIST); }
    CListCtrl* map() { return systems().DlgItem<CListCtrl>(IDC_PREFERRED_UNIT_MAP); }
    QStringList preferred() {
        QStringList texts;
        for (int row = 0; row < map()->GetItemCount(); ++row)
            texts << map()->GetItemText(row, 0) + u'=' + map()->GetItemText(row, 1);
        return texts;
    }
    int row(const QString& quantity) {
        for (int r = 0; r < map()->GetItemCount(); ++r)
            if (map()->GetItemText(r, 0) == quantity) return r;
        return -1;
    }
    QPoint centreOf(int r) { return map()->visualItemRect(map()->topLevelItem(r)).center(); }
    void doubleClick(const QPoint& at) { QTest::mouseDClick(map()->viewport(), Qt::LeftButton, {}, at); }
    QString engineUnit(const QString& system, const QString& quantity) {
        QString unit;
        EXPECT_EQ(m_engine.UnitSystem_PrefUnit(system, quantity, unit), S_OK);
        return unit;
    }
};

}  // namespace

TEST_F(UnitSystemPage, TheMapShowsEveryQuantityWithTheSelectedSystemsPreferredUnit) {
    EXPECT_EQ(entries(systemList()), (QStringList{"English", "SI"}));
    EXPECT_EQ(preferred(), (QStringList{"Length=", "Mass=", "Temperature=", "Time=", "Velocity="}));
    EXPECT_EQ(map()->headerItem()->text(0), QStringLiteral("Quantity"));
    EXPECT_EQ(map()->headerItem()->text(1), QStringLiteral("Preferred Unit"));
    EXPECT_EQ(map()->header()->sectionSize(0), map()->header()->sectionSize(1));
    ASSERT_TRUE(choose(systemList(), QStringLiteral("English")));
    EXPECT_EQ(preferred(), (QStringList{"Length=foot", "Mass=", "Temperature=degF", "Time=hour", "Velocity="}));
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(UnitSystemPage, ADoubleClickNeedsASystemAndARowFirst) {
    doubleClick(centreOf(0));
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, QStringLiteral("Please select a unit system first"));
    EXPECT_EQ(m_boxes.boxes()[0].caption, QStringLiteral("Error Message"));
    EXPECT_EQ(m_boxes.boxes()[0].icon(), MB_ICONERROR);
    m_boxes.clear();

    ASSERT_TRUE(choose(systemList(), QStringLiteral("SI")));
    map()->clearSelection();
    doubleClick(QPoint(10, map()->viewport()->height() - 5));  // below the rows
    EXPECT_EQ(m_boxes.texts(), QStringList{"Please select an entry in the quantity column"});
}

TEST_F(UnitSystemPage, ADoubleClickedRowTakesTheUnitChosenInTheDialog) {
    ASSERT_TRUE(choose(systemList(), QStringLiteral("English")));
    QString title;
    QStringList offered;
    kestrum::test::ModalDriver modals;
    modals.next([&](QWidget* window) {
        title = window->windowTitle();
        auto* list = window->findChild<CListBox*>();
        offered = entries(list);
        list->setCurrentRow(list->FindStringExact(-1, QStringLiteral("kilogram")));
        static_cast<QDialog*>(window)->accept();
    });
    doubleClick(centreOf(row(QStringLiteral("Mass"))));
    EXPECT_EQ(title, QStringLiteral("Select Preferred Unit"));
    EXPECT_EQ(offered, QStringList{"kilogram"});
    EXPECT_EQ(map()->GetItemText(row(QStringLiteral("Mass")), 1), QStringLiteral("kilogram"));
    EXPECT_EQ(engineUnit(QStringLiteral("English"), QStringLiteral("Mass")), QStringLiteral("kilogram"));
    EXPECT_TRUE(m_engine.HasUnsavedChanges());
}

TEST_F(UnitSystemPage, CancelOrNoChoiceInTheDialogChangesNothing) {
    ASSERT_TRUE(choose(systemList(), QStringLiteral("English")));
    kestrum::test::ModalDriver modals;
    modals.next([](QWidget* window) { static_cast<QDialog*>(window)->reject(); });
    modals.next([](QWidget* window) { static_cast<QDialog*>(window)->accept(); });  // nothing chosen
    doubleClick(centreOf(row(QStringLiteral("Length"))));
    doubleClick(centreOf(row(QStringLiteral("Length"))));
    EXPECT_EQ(map()->GetItemText(row(QStringLiteral("Length")), 1), QStringLiteral("foot"));
    EXPECT_FALSE(m_engine.HasUnsavedChanges());
}

TEST_F(UnitSystemPage, TheDeleteKeyClearsAPreferredUnitAndLeavesAnEmptyOneAlone) {
    ASSERT_TRUE(choose(systemList(), QStringLiteral("English")));
    map()->setCurrentItem(map()->topLevelItem(row(QStringLiteral("Mass"))));
    QTest::keyClick(map(), Qt::Key_Delete);
    EXPECT_FALSE(m_engine.HasUnsavedChanges()) << "nothing to clear";
    map()->setCurrentItem(map()->topLevelItem(row(QStringLiteral("Length"))));
    QTest::keyClick(map(), Qt::Key_Delete);
    EXPECT_EQ(map()->GetItemText(row(QStringLiteral("Length")), 1), QString());
    EXPECT_EQ(engineUnit(QStringLiteral("English"), QStringLiteral("Length")), QString());
    QTest::keyClick(map(), Qt::Key_Insert);  // other keys do nothing
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(UnitSystemPage, SelectingAnotherSystemWritesTheWholeMapOfThePreviousOne) {
    ASSERT_TRUE(choose(systemList(), QStringLiteral("English")));
    map()->SetItemText(row(QStringLiteral("Time")), 1, QStringLiteral("second"));
    ASSERT_TRUE(choose(systemList(), QStringLiteral("SI")));
    EXPECT_EQ(engineUnit(QStringLiteral("English"), QStringLiteral("Time")), QStringLiteral("second"));
    EXPECT_EQ(engineUnit(QStringLiteral("English"), QStringLiteral("Length")), QStringLiteral("foot"));
    EXPECT_EQ(map()->GetItemText(row(QStringLiteral("Time")), 1), QStringLiteral("second"));
    EXPECT_EQ(map()->GetItemText(row(QStringLiteral("Length")), 1), QStringLiteral("metre"));
}

TEST_F(UnitSystemPage, SystemsAreAddedRenamedAndRemovedThroughTheList) {
    ASSERT_TRUE(choose(systemList(), QStringLiteral("SI")));
    chooseFromContextMenu(systemList(), QStringLiteral("Add"), QStringLiteral("Nautical"));
    EXPECT_EQ(entries(systemList()), (QStringList{"English", "Nautical", "SI"}));
    EXPECT_EQ(systems().m_sSelectedSystem, QStringLiteral("Nautical"));
    EXPECT_EQ(preferred(), (QStringList{"Length=", "Mass=", "Temperature=", "Time=", "Velocity="}));

    chooseFromContextMenu(systemList(), QStringLiteral("Rename"), QStringLiteral("SI"));
    EXPECT_EQ(m_boxes.texts(), QStringList{"A Quantity, Unit, UnitSystem or Synonym With the Same Name Already Exists"});
    EXPECT_EQ(entries(systemList()), (QStringList{"English", "Nautical", "SI"}));
    m_boxes.clear();
    chooseFromContextMenu(systemList(), QStringLiteral("Rename"), QStringLiteral("Marine"));
    EXPECT_EQ(entries(systemList()), (QStringList{"English", "Marine", "SI"}));
    EXPECT_EQ(systems().m_sSelectedSystem, QStringLiteral("Marine"));

    chooseFromContextMenu(systemList(), QStringLiteral("Remove"));
    EXPECT_EQ(selectedText(systemList()), QStringLiteral("SI"));
    EXPECT_EQ(map()->GetItemText(row(QStringLiteral("Length")), 1), QStringLiteral("metre"));
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(UnitSystemPage, RemovingTheLastSystemLeavesNothingToWriteBack) {
    ASSERT_TRUE(choose(systemList(), QStringLiteral("SI")));
    chooseFromContextMenu(systemList(), QStringLiteral("Remove"));
    chooseFromContextMenu(systemList(), QStringLiteral("Remove"));
    EXPECT_EQ(systemList()->GetCount(), 0);
    EXPECT_EQ(systems().m_sSelectedSystem, QString());
    EXPECT_EQ(preferred(), (QStringList{"Length=", "Mass=", "Temperature=", "Time=", "Velocity="}));
    ASSERT_TRUE(clickTab(0));
    EXPECT_TRUE(m_boxes.boxes().empty()) << m_boxes.texts().join(u'|').toStdString();
}
