// The "Units" pick list behind the key u: the control's number in any unit of its quantity.
#include "engine_fixture.h"
#include "host_dialog.h"
#include "user_input.h"

#include <kestrum/editctl/unit_list_dlg.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/resources.h>

#include <QTest>

using namespace editctl_test;

namespace {

struct SeenList {
    QString caption;
    QString value;
    QString selected;
    int count = -1;
    QString resources;
};

SeenList look(QWidget* window) {
    SeenList seen;
    auto* dialog = dynamic_cast<CDialog*>(window);
    if (!dialog) return seen;
    seen.caption = dialog->windowTitle();
    seen.value = dialog->GetDlgItemText(7542);
    auto* list = dialog->DlgItem<CListBox>(7543);
    if (list) {
        seen.count = list->GetCount();
        if (list->GetCurSel() != LB_ERR) seen.selected = list->GetText(list->GetCurSel());
    }
    seen.resources = AfxGetResourceHandle()->name();
    return seen;
}

// Clicks a unit in the list, which sends the selection change.
void choose(QWidget* window, const QString& unit) {
    auto* list = dynamic_cast<CDialog*>(window)->DlgItem<CListBox>(7543);
    EXPECT_TRUE(clickEntry(list, unit)) << unit.toStdString();
}

// Types a number over the Value box's text.
void typeValue(QWidget* window, const QString& number) {
    QWidget* value = dynamic_cast<CDialog*>(window)->GetDlgItem(7542);
    EXPECT_TRUE(clickInto(value));
    typeOver(value, number);
}

void close(QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); }

class UnitList : public EngineTest {
protected:
    bool focus(CDimsafeEdit& control) { return clickInto(&control); }

    HostDialog dialog;
    kestrum::test::ModalDriver modals;
};

}  // namespace

TEST_F(UnitList, ShowsTheNumberInThePreferredUnitAndConvertsOnEachChoice) {
    start(QStringLiteral("English"), QStringLiteral("English"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kLength2, 200);
    CDimsafeEdit& length = dialog[kLength2];
    ASSERT_TRUE(focus(length));
    const HINSTANCE before = AfxGetResourceHandle();

    SeenList opened, inInches, typedThenMetres;
    modals.next([&](QWidget* window) {
        opened = look(window);
        choose(window, QStringLiteral("inch"));
        inInches = look(window);
        // The user may type another number before the next choice: that number is converted.
        typeValue(window, QStringLiteral("39.37"));
        choose(window, QStringLiteral("metre"));
        typedThenMetres = look(window);
        close(window);
    });
    QTest::keyClick(&length, Qt::Key_U);
    EXPECT_EQ(modals.driven(), 1);

    EXPECT_EQ(opened.caption, QStringLiteral("Units"));
    EXPECT_EQ(opened.value, QStringLiteral("200"));
    EXPECT_EQ(opened.selected, QStringLiteral("foot"));
    EXPECT_EQ(opened.count, 29) << "every unit of Length";
    EXPECT_EQ(opened.resources, QStringLiteral("DimsafeEditCtl"));
    EXPECT_EQ(inInches.value, QStringLiteral("2400"));
    EXPECT_EQ(inInches.selected, QStringLiteral("inch"));
    EXPECT_EQ(typedThenMetres.value, QStringLiteral("0.999998"));
    EXPECT_EQ(AfxGetResourceHandle(), before);

    // The control is as it was: no "u" typed and the same number (decorated while the list had
    // the focus).
    EXPECT_TRUE(length.text() == QStringLiteral("200.00") || length.text() == QStringLiteral("200.00 ft")) << length.text().toStdString();
    dialog.UpdateData(true);
    EXPECT_EQ(length(), 200.0);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(UnitList, OpensInTheCurrentUnitSystemWithWhatWasTyped) {
    start(QStringLiteral("English"), QStringLiteral("SI"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kLength2, 200);
    CDimsafeEdit& length = dialog[kLength2];
    ASSERT_TRUE(focus(length));
    typeOver(&length, QStringLiteral("12.5"));
    SeenList opened;
    modals.next([&](QWidget* window) {
        opened = look(window);
        close(window);
    });
    QTest::keyClick(&length, Qt::Key_U, Qt::ShiftModifier);
    EXPECT_EQ(opened.value, QStringLiteral("12.5"));
    EXPECT_EQ(opened.selected, QStringLiteral("metre"));
}

TEST_F(UnitList, AControlWithoutAValueOpensWithTheSentinel) {
    start(QStringLiteral("English"), QStringLiteral("English"));
    ASSERT_TRUE(dialog.Create());
    SeenList opened;
    modals.next([&](QWidget* window) {
        opened = look(window);
        close(window);
    });
    ASSERT_TRUE(focus(dialog[kMass3]));
    QTest::keyClick(&dialog[kMass3], Qt::Key_U);
    EXPECT_EQ(opened.value, QStringLiteral("-999999999"));
    EXPECT_EQ(opened.selected, QStringLiteral("pound"));
    EXPECT_EQ(dialog.text(kMass3), QString());
}

TEST_F(UnitList, AnExpressionThatIsNoQuantityNameListsNothing) {
    start(QStringLiteral("English"), QStringLiteral("English"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kRate2, 3);
    EXPECT_EQ(dialog.text(kRate2), QStringLiteral("3.00 ft/s"));
    SeenList opened;
    modals.next([&](QWidget* window) {
        opened = look(window);
        close(window);
    });
    ASSERT_TRUE(focus(dialog[kRate2]));
    QTest::keyClick(&dialog[kRate2], Qt::Key_U);
    EXPECT_EQ(opened.count, 0);
    EXPECT_EQ(opened.selected, QString());
    EXPECT_EQ(boxes.texts(), (QStringList{"Quantity Not Found", "Quantity Not Found"}))
        << "the preferred unit and the unit list";
}

TEST_F(UnitList, AFailedConversionKeepsTheNumberInItsUnit) {
    start(QStringLiteral("English"), QStringLiteral("English"), smallDatabase());
    ASSERT_TRUE(dialog.Create());
    dialog.load(kSpan3, 4);
    EXPECT_EQ(dialog.text(kSpan3), QStringLiteral("4.000 gd"));
    SeenList broken, doubled;
    modals.next([&](QWidget* window) {
        choose(window, QStringLiteral("broken"));
        broken = look(window);
        choose(window, QStringLiteral("double_good"));
        doubled = look(window);
        close(window);
    });
    ASSERT_TRUE(focus(dialog[kSpan3]));
    QTest::keyClick(&dialog[kSpan3], Qt::Key_U);
    EXPECT_EQ(boxes.texts(), QStringList{"Unit Database is Corrupt"});
    EXPECT_EQ(broken.value, QStringLiteral("4"));
    EXPECT_EQ(broken.selected, QStringLiteral("good")) << "the unit the number is in";
    EXPECT_EQ(doubled.value, QStringLiteral("2"));
}

TEST_F(UnitList, ANumberInNoUnitStaysWhicheverUnitIsChosen) {
    // Bare has no preferred unit for Span: the number is shown unconverted, in no unit.
    start(QStringLiteral("English"), QStringLiteral("Bare"), smallDatabase());
    ASSERT_TRUE(dialog.Create());
    dialog.load(kSpan3, 4);
    EXPECT_EQ(dialog.text(kSpan3), QStringLiteral("4.000 "));
    SeenList opened, doubled, good;
    qsizetype messagesBeforeChoosing = -1;
    modals.next([&](QWidget* window) {
        opened = look(window);
        messagesBeforeChoosing = boxes.texts().size();
        choose(window, QStringLiteral("double_good"));
        doubled = look(window);
        choose(window, QStringLiteral("good"));
        good = look(window);
        close(window);
    });
    ASSERT_TRUE(focus(dialog[kSpan3]));
    QTest::keyClick(&dialog[kSpan3], Qt::Key_U);
    EXPECT_EQ(modals.driven(), 1);
    EXPECT_EQ(opened.value, QStringLiteral("4"));
    EXPECT_EQ(opened.selected, QString());
    EXPECT_EQ(doubled.value, QStringLiteral("4")) << "not 0: nothing converts from no unit";
    EXPECT_EQ(doubled.selected, QString()) << "the number is still in no unit";
    EXPECT_EQ(good.value, QStringLiteral("4"));
    EXPECT_EQ(boxes.texts().size(), messagesBeforeChoosing) << "no message of its own";
    dialog.UpdateData(true);
    EXPECT_EQ(dialog[kSpan3](), 4.0);
}

TEST_F(UnitList, ABadNumberInTheValueBoxIsReportedNotConverted) {
    start(QStringLiteral("English"), QStringLiteral("English"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kLength2, 1);
    SeenList after;
    modals.next([&](QWidget* window) {
        typeValue(window, QStringLiteral("one"));
        choose(window, QStringLiteral("inch"));
        typeValue(window, QStringLiteral("2"));
        choose(window, QStringLiteral("yard"));
        after = look(window);
        close(window);
    });
    ASSERT_TRUE(focus(dialog[kLength2]));
    QTest::keyClick(&dialog[kLength2], Qt::Key_U);
    EXPECT_EQ(boxes.texts(), QStringList{"Please enter a number."});
    EXPECT_EQ(after.value, QStringLiteral("0.666666666666667")) << "2 feet in yards: the number stayed in feet";
}

TEST(UnitListDialog, TemplateGeometryInDialogUnits) {
    // 98 x 126 dialog units at the template font's 6 x 13 base units.
    CUnitListDlg dialog(1.0, QStringLiteral("foot"));
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.size(), QSize(147, 205));
    EXPECT_EQ(dialog.GetDlgItem(7542)->geometry(), QRect(11, 24, 126, 23));
    EXPECT_EQ(dialog.GetDlgItem(7543)->geometry(), QRect(11, 70, 126, 124));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Units"));
}
