// DDX_UCONV: the host's string table sets a control up; loading shows the host's value in the
// current unit system; saving stores only what the user changed, converted back and unrounded.
#include "engine_fixture.h"
#include "host_dialog.h"
#include "user_input.h"

#include <kestrum/ui/list_box.h>

#include <QApplication>
#include <QTest>

using namespace editctl_test;

namespace {

class Exchange : public EngineTest {
protected:
    bool focus(CDimsafeEdit& control) { return clickInto(&control); }
    // Tab from the control being edited.
    bool leave() {
        QWidget* edited = QApplication::focusWidget();
        return edited && tabAway(edited);
    }
    void type(CDimsafeEdit& control, const QString& text) { typeOver(&control, text); }

    HostDialog dialog;
};

}  // namespace

TEST_F(Exchange, StringTableGivesQuantityAndDecimals) {
    start(QStringLiteral("English"), QStringLiteral("English"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kTime0, 33);
    EXPECT_EQ(dialog.text(kTime0), QStringLiteral("33.000 s")) << "\"time 0\" keeps three decimals";
    dialog.load(kLength12, 200);
    EXPECT_EQ(dialog.text(kLength12), QStringLiteral("200.000000000 ft")) << "at most nine decimals";
    dialog.load(kLength2, 1.006);
    EXPECT_EQ(dialog.text(kLength2), QStringLiteral("1.01 ft"));
    EXPECT_TRUE(boxes.texts().isEmpty());

    // No quantity: three decimals, no symbol, and the engine's message at each decorated display.
    dialog[kNoSpace] = 200;
    dialog.load(kNoString, 200);
    EXPECT_EQ(dialog.text(kNoString), QStringLiteral("200.000 "));
    EXPECT_EQ(dialog.text(kNoSpace), QStringLiteral("200.000 ")) << "an entry without a space names no quantity";
    EXPECT_FALSE(boxes.texts().isEmpty());
}

TEST_F(Exchange, LoadingConvertsIntoTheCurrentUnitSystem) {
    start(QStringLiteral("English"), QStringLiteral("SI"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kLength2, 200);
    EXPECT_EQ(dialog.text(kLength2), QStringLiteral("60.96 m"));
    dialog.load(kTemperature4, 212);
    EXPECT_EQ(dialog.text(kTemperature4), QStringLiteral("373.1500 K"));
    dialog.load(kSpan3, 1);
    EXPECT_EQ(dialog.text(kSpan3), QStringLiteral("1.000 ")) << "a quantity the database lacks: unconverted, no symbol";
    EXPECT_EQ(boxes.texts(), (QStringList{"Quantity Not Found", "Quantity Not Found"}));
}

TEST_F(Exchange, SavingAnUntouchedControlKeepsTheHostsValueBitForBit) {
    start(QStringLiteral("English"), QStringLiteral("SI"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kMass3, 123.457);  // 55.999 kg on the screen, which is 123.4568... lb
    const double stored = dialog[kMass3]();
    ASSERT_EQ(stored, 123.457);
    EXPECT_EQ(dialog.text(kMass3), QStringLiteral("55.999 kg"));
    ASSERT_TRUE(focus(dialog[kMass3]));
    ASSERT_TRUE(leave());
    dialog.UpdateData(true);
    EXPECT_EQ(dialog[kMass3](), stored);
    dialog.UpdateData(false);
    dialog.UpdateData(true);
    EXPECT_EQ(dialog[kMass3](), stored) << "not after any number of round trips either";
}

TEST_F(Exchange, SavingAnEditedControlStoresTheConvertedUnroundedNumber) {
    start(QStringLiteral("English"), QStringLiteral("SI"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kLength2, 200);
    ASSERT_TRUE(focus(dialog[kLength2]));
    type(dialog[kLength2], QStringLiteral("10"));
    ASSERT_TRUE(leave());
    EXPECT_EQ(dialog.text(kLength2), QStringLiteral("10.00 m"));
    dialog.UpdateData(true);
    EXPECT_DOUBLE_EQ(dialog[kLength2](), 10 / 0.3048) << "32.808398950131..., not rounded to the control's decimals";
    dialog.UpdateData(false);
    EXPECT_EQ(dialog.text(kLength2), QStringLiteral("10.00 m"));
}

TEST_F(Exchange, SavingWhileTheControlHasTheFocusTakesWhatWasTyped) {
    start(QStringLiteral("English"), QStringLiteral("SI"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kLength2, 200);
    ASSERT_TRUE(focus(dialog[kLength2]));
    type(dialog[kLength2], QStringLiteral("75"));
    dialog.UpdateData(true);  // Enter on the default button leaves the focus where it is
    EXPECT_DOUBLE_EQ(dialog[kLength2](), 75 / 0.3048);
    EXPECT_EQ(dialog.text(kLength2), QStringLiteral("75"));
}

TEST_F(Exchange, LoadingWhileTheControlHasTheFocusWritesThePlainNumber) {
    start(QStringLiteral("English"), QStringLiteral("English"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kLength3, 1234.5);
    ASSERT_TRUE(focus(dialog[kLength3]));
    dialog.UpdateData(false);
    EXPECT_EQ(dialog.text(kLength3), QStringLiteral("1234.500"));
    ASSERT_TRUE(leave());
    EXPECT_EQ(dialog.text(kLength3), QStringLiteral("1,234.500 ft")) << "not 1: the grouped text was never read back";
    dialog.UpdateData(true);
    EXPECT_EQ(dialog[kLength3](), 1234.5);
}

TEST_F(Exchange, MissingValuesStayMissing) {
    start(QStringLiteral("English"), QStringLiteral("SI"));
    ASSERT_TRUE(dialog.Create());
    dialog.load(kTemperature4, CDimsafeEdit::m_dUNDEF);
    EXPECT_EQ(dialog[kTemperature4](), CDimsafeEdit::m_dUNDEF) << "operator= keeps the sentinel exactly";
    EXPECT_EQ(dialog.text(kTemperature4), QString());
    dialog.UpdateData(true);
    EXPECT_EQ(dialog[kTemperature4](), CDimsafeEdit::m_dUNDEF);

    // A host that takes a value away: the old number must not linger to be read back as typed.
    dialog.load(kLength2, 200);
    EXPECT_EQ(dialog.text(kLength2), QStringLiteral("60.96 m"));
    dialog.load(kLength2, CDimsafeEdit::m_dUNDEF);
    EXPECT_EQ(dialog.text(kLength2), QString());
    ASSERT_TRUE(focus(dialog[kLength2]));
    ASSERT_TRUE(leave());
    dialog.UpdateData(true);
    EXPECT_EQ(dialog[kLength2](), CDimsafeEdit::m_dUNDEF);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(Exchange, ReloadAfterChangingTheCurrentUnitSystem) {
    start(QStringLiteral("English"), QStringLiteral("English"));
    ASSERT_TRUE(dialog.Create());
    dialog[kLength2] = 200;
    dialog[kMass3] = 1;
    dialog.UpdateData(false);
    EXPECT_EQ(dialog.text(kMass3), QStringLiteral("1.000 lb"));
    kestrum::test::ModalDriver modals;
    modals.next([](QWidget* window) {
        auto* dialog = dynamic_cast<CDialog*>(window);
        EXPECT_TRUE(clickEntry(dialog->DlgItem<CListBox>(7545), QStringLiteral("SI")));
        clickOn(dialog->GetDlgItem(IDOK));
    });
    dialog.UpdateData(true);
    CDimsafeEdit::ChangeCurrentUnitSystem();
    dialog.UpdateData(false);
    EXPECT_EQ(dialog.text(kLength2), QStringLiteral("60.96 m"));
    EXPECT_EQ(dialog.text(kMass3), QStringLiteral(".454 kg"));
    EXPECT_EQ(dialog[kLength2](), 200.0) << "storage values unchanged";
}

TEST_F(Exchange, OperatorAssignRoundsToTheControlsDecimals) {
    start(QStringLiteral("English"), QStringLiteral("English"));
    CDimsafeEdit control;
    EXPECT_EQ(control(), CDimsafeEdit::m_dUNDEF);
    EXPECT_EQ(control = 50.1256, 50.126) << "three decimals before the first exchange";
    EXPECT_EQ(control = CDimsafeEdit::m_dUNDEF, CDimsafeEdit::m_dUNDEF);
    EXPECT_EQ(CDimsafeEdit::m_dUNDEF, -999999999.0);
    ASSERT_TRUE(dialog.Create());
    dialog[kLength2] = 1.23456;
    EXPECT_EQ(dialog[kLength2](), 1.23) << "the string table's two decimals";
}
