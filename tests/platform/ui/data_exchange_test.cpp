#include <kestrum/ui/data_exchange.h>
#include <kestrum/ui/dialog.h>
#include <kestrum/ui/edit.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/resources.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLocale>
#include <QTest>

using namespace kestrum::ui;

namespace {

enum : int { kName = 1001, kFactor = 1002, kExponent = 1003, kOffset = 1004, kCheck = 1005, kFirstRadio = 1006,
             kSecondRadio = 1007, kList = 1008 };

void addExchangeTemplate() {
    ResourceModule::application().addDialog(DialogTemplate{
        .id = 9100,
        .caption = QStringLiteral("Exchange"),
        .cx = 200,
        .cy = 150,
        .style = DS_MODALFRAME | WS_CAPTION | WS_SYSMENU,
        .controls = {EDITTEXT(kName, 7, 7, 80, 14), EDITTEXT(kFactor, 7, 25, 80, 14), EDITTEXT(kExponent, 7, 43, 80, 14),
                     EDITTEXT(kOffset, 7, 61, 80, 14),
                     AUTOCHECKBOX(QStringLiteral("Enable Dimensional Analysis"), kCheck, 7, 79, 120, 10),
                     AUTORADIOBUTTON(QStringLiteral("Overwrite"), kFirstRadio, 7, 92, 60, 10, WS_GROUP | WS_TABSTOP),
                     AUTORADIOBUTTON(QStringLiteral("Append"), kSecondRadio, 70, 92, 60, 10),
                     LISTBOX(kList, 100, 7, 90, 80, LBS_SORT | WS_VSCROLL | WS_TABSTOP),
                     DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 90, 130, 50, 14),
                     PUSHBUTTON(QStringLiteral("Cancel"), IDCANCEL, 143, 130, 50, 14)}});
}

class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(9100) {}
    QString name = QStringLiteral("meter");
    double factor = 1.0 / 3;
    int exponent = -3;
    double offset = 1e20;
    int check = BST_CHECKED;
    int radio = 1;
    QString unit = QStringLiteral("ME");

protected:
    bool OnInitDialog() override {
        auto* list = DlgItem<CListBox>(kList);
        for (const char* text : {"second", "Meter", "mile"}) list->AddString(QString::fromLatin1(text));
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kName, name);
        DDV_MaxChars(pDX, name, 10);
        DDX_Text(pDX, kFactor, factor);
        DDX_Text(pDX, kExponent, exponent);
        DDX_Text(pDX, kOffset, offset);
        DDX_Check(pDX, kCheck, check);
        DDX_Radio(pDX, kFirstRadio, radio);
        DDX_LBString(pDX, kList, unit);
    }
};

QString textOf(const CDialog& dialog, int id) { return dialog.GetDlgItemText(id); }

// Replaces the text of a shown edit as the user does: a click into it, all selected, typed.
void type(CDialog& dialog, int id, const QString& text) {
    QWidget* edit = dialog.GetDlgItem(id);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

void click(CDialog& dialog, int id) {
    QWidget* control = dialog.GetDlgItem(id);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
}

}  // namespace

TEST(DataExchange, LoadingWritesEachValueIntoItsControl) {
    addExchangeTemplate();
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(textOf(dialog, kName), QStringLiteral("meter"));
    EXPECT_EQ(textOf(dialog, kFactor), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(textOf(dialog, kExponent), QStringLiteral("-3"));
    EXPECT_EQ(textOf(dialog, kOffset), QStringLiteral("1e+20"));
    EXPECT_EQ(dialog.IsDlgButtonChecked(kCheck), BST_CHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kFirstRadio), BST_UNCHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(kSecondRadio), BST_CHECKED);
    auto* list = dialog.DlgItem<CListBox>(kList);
    EXPECT_EQ(list->GetText(list->GetCurSel()), QStringLiteral("Meter"));  // first entry beginning with "ME"
    EXPECT_EQ(dialog.DlgItem<CEdit>(kName)->maxLength(), 10);
}

TEST(DataExchange, SavingReadsBackWhatTheControlsHold) {
    addExchangeTemplate();
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(kestrum::test::showActive(&dialog));
    type(dialog, kName, QStringLiteral("foot"));
    type(dialog, kFactor, QStringLiteral(" 0.3048 "));
    type(dialog, kExponent, QStringLiteral("+2"));
    type(dialog, kOffset, QStringLiteral("-1.5e-3"));
    click(dialog, kCheck);
    click(dialog, kFirstRadio);
    dialog.DlgItem<CListBox>(kList)->SetCurSel(-1);
    click(dialog, IDOK);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), IDOK);
    EXPECT_EQ(dialog.name, QStringLiteral("foot"));
    EXPECT_EQ(dialog.factor, 0.3048);
    EXPECT_EQ(dialog.exponent, 2);
    EXPECT_EQ(dialog.offset, -1.5e-3);
    EXPECT_EQ(dialog.check, BST_UNCHECKED);
    EXPECT_EQ(dialog.radio, 0);
    EXPECT_TRUE(dialog.unit.isEmpty());

    // Loading an empty entry name clears the list's selection.
    dialog.DlgItem<CListBox>(kList)->SetCurSel(0);
    EXPECT_TRUE(dialog.UpdateData(false));
    EXPECT_EQ(dialog.DlgItem<CListBox>(kList)->GetCurSel(), LB_ERR);
}

TEST(DataExchange, ABadNumberIsRefusedAndStopsTheExchangeAtItsBox) {
    addExchangeTemplate();
    kestrum::test::MessageBoxRecorder boxes;
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(kestrum::test::showActive(&dialog));
    type(dialog, kName, QStringLiteral("inch"));
    type(dialog, kFactor, QStringLiteral("0,0254"));
    type(dialog, kExponent, QStringLiteral("7"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(boxes.texts(), QStringList{"Please enter a number."});
    EXPECT_EQ(boxes.boxes()[0].icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(dialog.name, QStringLiteral("inch"));  // exchanged before the bad box
    EXPECT_EQ(dialog.factor, 1.0 / 3);               // kept
    EXPECT_EQ(dialog.exponent, -3);                  // after it: not exchanged
    EXPECT_TRUE(kestrum::test::waitFor([&] { return QApplication::focusWidget() == dialog.GetDlgItem(kFactor); }));
    EXPECT_EQ(dialog.DlgItem<CEdit>(kFactor)->selectedText(), QStringLiteral("0,0254"));

    boxes.clear();
    type(dialog, kFactor, QStringLiteral("0.0254"));
    type(dialog, kExponent, QStringLiteral("1.5"));
    click(dialog, IDOK);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(boxes.texts(), QStringList{"Please enter an integer."});
    EXPECT_EQ(dialog.factor, 0.0254);
}

TEST(DataExchange, TooLongTextIsRefused) {
    addExchangeTemplate();
    kestrum::test::MessageBoxRecorder boxes;
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    auto* name = dialog.DlgItem<CEdit>(kName);
    name->clear();
    QTest::keyClicks(name, QStringLiteral("abcdefghijkl"));
    EXPECT_EQ(name->text(), QStringLiteral("abcdefghij"));  // loading limited the box
    name->setMaxLength(100);
    name->setText(QStringLiteral("abcdefghijk"));
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(boxes.texts(), QStringList{"Please enter no more than 10 characters."});
    EXPECT_EQ(dialog.factor, 1.0 / 3);
}

TEST(DataExchange, NumbersIgnoreTheLocale) {
    addExchangeTemplate();
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ExchangeDialog dialog;
    dialog.factor = 1.5;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(textOf(dialog, kFactor), QStringLiteral("1.5"));
    dialog.SetDlgItemText(kFactor, QStringLiteral("2.25"));
    EXPECT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.factor, 2.25);
    QLocale::setDefault(saved);
}

namespace {

// Puts its own edit in place of the template's box 1002.
class OwnControlDialog : public ExchangeDialog {
public:
    CEdit own;
    std::vector<std::pair<int, int>> commands;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kFactor, own);
        ExchangeDialog::DoDataExchange(pDX);
    }
    bool OnCommand(int nID, int nCode) override {
        commands.emplace_back(nID, nCode);
        return true;
    }
};

}  // namespace

TEST(DataExchange, DdxControlPutsTheProgramsControlInTheTemplatesPlace) {
    addExchangeTemplate();
    OwnControlDialog dialog;
    ASSERT_TRUE(dialog.Create());
    const int edits = int(dialog.findChildren<CEdit*>().size());
    EXPECT_EQ(dialog.GetDlgItem(kFactor), &dialog.own);
    EXPECT_EQ(GetDlgCtrlID(&dialog.own), kFactor);
    EXPECT_EQ(dialog.own.parentWidget(), &dialog);
    EXPECT_EQ(dialog.own.geometry(), mapDialogRect({7, 25, 80, 14}, dialog.baseUnits()));
    EXPECT_EQ(dialog.own.text(), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(edits, 4);  // the template's box is gone
    EXPECT_EQ(dialog.GetDlgItem(kName)->nextInFocusChain(), &dialog.own);
    EXPECT_EQ(dialog.own.nextInFocusChain(), dialog.GetDlgItem(kExponent));

    EXPECT_TRUE(dialog.UpdateData(false));
    EXPECT_EQ(dialog.GetDlgItem(kFactor), &dialog.own);
    EXPECT_EQ(int(dialog.findChildren<CEdit*>().size()), edits);

    dialog.commands.clear();
    dialog.own.setText(QStringLiteral("2"));
    ASSERT_EQ(dialog.commands.size(), 1u);
    EXPECT_EQ(dialog.commands[0], std::make_pair(int(kFactor), EN_CHANGE));
}
