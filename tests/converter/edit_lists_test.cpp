// The edit list boxes' context menu (Add, Remove, Rename), the Name dialog and the conventions
// every list follows, on the Quantity Database page's lists.
#include "converter_fixture.h"

#include "name_dialog.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>

using namespace converter_test;

namespace {

class EditLists : public ConverterTest {
protected:
    void SetUp() override {
        ConverterTest::SetUp();
        openSheet(4);
    }
    CListBox* quantityList() { return quantities().DlgItem<CListBox>(IDC_QUANTITY_LIST); }
    CListBox* synonymList() { return quantities().DlgItem<CListBox>(IDC_SYNONYM_LIST); }
    QStringList engineSynonyms(const QString& quantity) {
        QStringList names;
        EXPECT_EQ(m_engine.Quantity_Synonym_Set(quantity, names), S_OK);
        return names;
    }
};

}  // namespace

TEST_F(EditLists, TheContextMenuOffersAddRemoveAndRenameAtTheMouseOrTheListsCorner) {
    QStringList items;
    QPoint shownAt;
    const QPoint corner = quantityList()->viewport()->mapToGlobal(QPoint(5, 5));
    {
        kestrum::test::ModalDriver modals;
        modals.next([&](QWidget* popup) {
            items = kestrum::test::menuTexts(qobject_cast<QMenu*>(popup));
            shownAt = popup->pos();
            popup->close();
        });
        QContextMenuEvent fromKeyboard(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
        QApplication::sendEvent(quantityList(), &fromKeyboard);
    }
    EXPECT_EQ(items, (QStringList{"Add", "Remove", "Rename"}));
    EXPECT_EQ(shownAt, corner);
}

TEST_F(EditLists, AddInsertsAtTheSelectionRatherThanInOrderAndSelectsTheNewEntry) {
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Temperature")));
    chooseFromContextMenu(quantityList(), QStringLiteral("Add"), QStringLiteral("Area"));
    EXPECT_EQ(entries(quantityList()), (QStringList{"Length", "Mass", "Area", "Temperature", "Time", "Velocity"}));
    EXPECT_EQ(selectedText(quantityList()), QStringLiteral("Area"));
    EXPECT_EQ(quantities().m_sSelectedQuantity, QStringLiteral("Area"));
    QStringList names;
    ASSERT_EQ(m_engine.Quantity_Set(names), S_OK);
    EXPECT_TRUE(names.contains(QStringLiteral("Area")));
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(EditLists, AnAddedNameThatBeginsAnotherEntryStaysTheSelectedOne) {
    // "Len" lands below "Length": selecting by prefix would pick "Length" and later save the
    // new quantity's empty vector over it.
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Velocity")));
    chooseFromContextMenu(quantityList(), QStringLiteral("Add"), QStringLiteral("Len"));
    EXPECT_EQ(selectedText(quantityList()), QStringLiteral("Len"));
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Mass")));
    std::vector<int> length;
    ASSERT_EQ(m_engine.Quantity_DimVector(QStringLiteral("Length"), length), S_OK);
    EXPECT_EQ(length, (std::vector<int>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(EditLists, AddNeedsASelectionInAListWithEntriesButNotInAnEmptyOne) {
    chooseFromContextMenu(quantityList(), QStringLiteral("Add"));  // no Name dialog may open
    EXPECT_EQ(entries(quantityList()).size(), 5);

    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Mass")));
    ASSERT_EQ(synonymList()->GetCount(), 0);
    chooseFromContextMenu(synonymList(), QStringLiteral("Add"), QStringLiteral("Heft"));
    EXPECT_EQ(entries(synonymList()), QStringList{"Heft"});
    EXPECT_EQ(engineSynonyms(QStringLiteral("Mass")), QStringList{"Heft"});
}

TEST_F(EditLists, RemoveSelectsTheNextEntryThePreviousAtTheEndAndNoneInAnEmptyList) {
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Time")));
    chooseFromContextMenu(quantityList(), QStringLiteral("Remove"));
    EXPECT_EQ(entries(quantityList()), (QStringList{"Length", "Mass", "Temperature", "Velocity"}));
    EXPECT_EQ(selectedText(quantityList()), QStringLiteral("Velocity"));
    EXPECT_EQ(quantities().GetDlgItemText(IDC_EXPRESSION), QStringLiteral("Length/Time")) << "the new selection is shown";

    chooseFromContextMenu(quantityList(), QStringLiteral("Remove"));
    EXPECT_EQ(selectedText(quantityList()), QStringLiteral("Temperature"));

    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Length")));
    ASSERT_EQ(entries(synonymList()), QStringList{"Distance"});
    ASSERT_TRUE(choose(synonymList(), QStringLiteral("Distance")));
    chooseFromContextMenu(synonymList(), QStringLiteral("Remove"));
    EXPECT_EQ(synonymList()->GetCount(), 0);
    EXPECT_EQ(synonymList()->GetCurSel(), LB_ERR);
    EXPECT_TRUE(engineSynonyms(QStringLiteral("Length")).isEmpty());
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(EditLists, RenameReplacesTheEntryInPlaceOrLeavesItWhenTheEngineRefuses) {
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Mass")));
    chooseFromContextMenu(quantityList(), QStringLiteral("Rename"), QStringLiteral("Weight"));
    EXPECT_EQ(entries(quantityList()), (QStringList{"Length", "Weight", "Temperature", "Time", "Velocity"}));
    EXPECT_EQ(selectedText(quantityList()), QStringLiteral("Weight"));
    EXPECT_EQ(quantities().m_sSelectedQuantity, QStringLiteral("Weight"));

    chooseFromContextMenu(quantityList(), QStringLiteral("Rename"), QStringLiteral("Length"));
    EXPECT_EQ(m_boxes.texts(), QStringList{"A Quantity, Unit, UnitSystem or Synonym With the Same Name Already Exists"});
    EXPECT_EQ(entries(quantityList()), (QStringList{"Length", "Weight", "Temperature", "Time", "Velocity"}));
    m_boxes.clear();

    chooseFromContextMenu(quantityList(), QStringLiteral("Add"), QStringLiteral("length"));
    EXPECT_EQ(m_boxes.texts(), QStringList{"A Quantity, Unit, UnitSystem or Synonym With the Same Name Already Exists"});
    EXPECT_EQ(entries(quantityList()).size(), 5);
}

TEST_F(EditLists, ARefusedSynonymRenameKeepsTheOldSynonym) {
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Length")));
    ASSERT_TRUE(choose(synonymList(), QStringLiteral("Distance")));
    chooseFromContextMenu(synonymList(), QStringLiteral("Rename"), QStringLiteral("Mass"));
    EXPECT_EQ(m_boxes.texts(), QStringList{"A Quantity, Unit, UnitSystem or Synonym With the Same Name Already Exists"});
    EXPECT_EQ(entries(synonymList()), QStringList{"Distance"});
    EXPECT_EQ(engineSynonyms(QStringLiteral("Length")), QStringList{"Distance"});
    EXPECT_FALSE(m_engine.HasUnsavedChanges());

    chooseFromContextMenu(synonymList(), QStringLiteral("Rename"), QStringLiteral("DISTANCE"));
    EXPECT_EQ(entries(synonymList()), QStringList{"DISTANCE"});
    EXPECT_EQ(engineSynonyms(QStringLiteral("Length")), QStringList{"DISTANCE"});
}

TEST_F(EditLists, TheNameDialogTakesAtMostAHundredCharacters) {
    CNameDlg dialog;
    int limit = 0;
    kestrum::test::ModalDriver modals;
    modals.next([&](QWidget* window) {
        auto* edit = window->findChild<QLineEdit*>();
        limit = edit->maxLength();
        edit->setText(QString(101, u'x'));
        static_cast<QDialog*>(window)->accept();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(limit, 100);
    EXPECT_EQ(dialog.m_sName, QString(100, u'x'));
}
