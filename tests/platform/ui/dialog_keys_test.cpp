// Enter, Escape and the focus in dialogs and sheets as the keyboard reaches them: keys go to the
// focused control of a shown window, and what counts is what the window then does or shows.
#include <kestrum/ui/data_exchange.h>
#include <kestrum/ui/dialog.h>
#include <kestrum/ui/edit.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/property_sheet.h>
#include <kestrum/ui/resources.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace kestrum::ui;
using kestrum::test::ModalDriver;

namespace {

enum : int { kListOnly = 9701, kValues = 9702, kPlainPage = 9703, kConvertPage = 9704 };
enum : int { kList = 1000, kFrom = 1001, kTo = 1002, kConvert = 1003 };

void addTemplates() {
    auto& app = ResourceModule::application();
    app.addDialog(DialogTemplate{.id = kListOnly, .caption = QStringLiteral("Units"), .cx = 120, .cy = 100,
                                 .style = DS_MODALFRAME | WS_CAPTION | WS_SYSMENU,
                                 .controls = {LISTBOX(kList, 7, 7, 100, 80, WS_VSCROLL | WS_TABSTOP)}});
    app.addDialog(DialogTemplate{.id = kValues, .caption = QStringLiteral("Values"), .cx = 200, .cy = 80,
                                 .style = DS_MODALFRAME | WS_CAPTION | WS_SYSMENU,
                                 .controls = {EDITTEXT(kFrom, 40, 7, 100, 14),
                                              LTEXT(QStringLiteral("&To:"), IDC_STATIC, 7, 27, 30, 8),
                                              EDITTEXT(kTo, 40, 25, 100, 14),
                                              DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 40, 50, 50, 14),
                                              PUSHBUTTON(QStringLiteral("Cancel"), IDCANCEL, 100, 50, 50, 14)}});
    app.addDialog(DialogTemplate{.id = kPlainPage, .caption = QStringLiteral("Database File"), .cx = 200, .cy = 80,
                                 .controls = {EDITTEXT(kFrom, 7, 7, 100, 14)}});
    app.addDialog(DialogTemplate{.id = kConvertPage, .caption = QStringLiteral("By Expression"), .cx = 200, .cy = 80,
                                 .controls = {EDITTEXT(kFrom, 7, 7, 100, 14), EDITTEXT(kTo, 7, 25, 100, 14),
                                              DEFPUSHBUTTON(QStringLiteral("Convert"), kConvert, 120, 7, 50, 14)}});
}

// A list-only dialog: the entry chosen is saved by OnOK, which logs as OnCancel does.
class ListDialog : public CDialog {
public:
    ListDialog() : CDialog(kListOnly) {}
    QStringList log;
    QString chosen;

protected:
    bool OnInitDialog() override {
        auto* list = DlgItem<CListBox>(kList);
        for (const char* unit : {"ft", "in", "m"}) list->AddString(QString::fromLatin1(unit));
        list->SetCurSel(0);
        GotoDlgCtrl(list);
        return true;
    }
    void OnOK() override {
        log << "ok";
        chosen = DlgItem<CListBox>(kList)->GetText(DlgItem<CListBox>(kList)->GetCurSel());
        CDialog::OnOK();
    }
    void OnCancel() override {
        log << "cancel";
        CDialog::OnCancel();
    }
};

class ValuesDialog : public CDialog {
public:
    ValuesDialog() : CDialog(kValues) {}
    QString from = QStringLiteral("200.00"), to = QStringLiteral("3.5");

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kFrom, from);
        DDX_Text(pDX, kTo, to);
    }
};

class Page : public CPropertyPage {
public:
    explicit Page(int id) : CPropertyPage(id) {}
    QString from = QStringLiteral("200.00");
    int converts = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kFrom, from); }
    bool OnCommand(int nID, int nCode) override {
        if (nID == kConvert && nCode == BN_CLICKED) ++converts;
        return true;
    }
};

QWidget* focused() { return QApplication::focusWidget(); }

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ASSERT_NE(focused(), nullptr);
    QTest::keyClick(focused(), Qt::Key(key), modifiers);
}

}  // namespace

TEST(DialogKeys, EnterInADialogWithoutButtonsIsOKAndEscapeIsCancel) {
    addTemplates();
    {
        ListDialog dialog;
        ModalDriver driver;
        driver.next([&](QWidget*) {
            press(Qt::Key_Down);  // the user picks "in"
            press(Qt::Key_Return);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.log, QStringList{"ok"});
        EXPECT_EQ(dialog.chosen, QStringLiteral("in"));
    }
    {
        ListDialog dialog;
        ModalDriver driver;
        driver.next([&](QWidget*) { press(Qt::Key_Enter, Qt::KeypadModifier); });
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.log, QStringList{"ok"});
    }
    {
        ListDialog dialog;
        ModalDriver driver;
        driver.next([&](QWidget*) { press(Qt::Key_Escape); });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(dialog.log, QStringList{"cancel"});
    }
}

TEST(DialogKeys, EnterPressesTheDefaultButtonOrTheFocusedOne) {
    addTemplates();
    ValuesDialog dialog;
    ModalDriver driver;
    bool openAfterCancel = true;
    driver.next([&](QWidget*) {
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);  // the OK button
        press(Qt::Key_Tab);  // Cancel, which Enter now presses
        press(Qt::Key_Return);
        openAfterCancel = dialog.isVisible();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(openAfterCancel);
}

TEST(DialogKeys, TheEditFocusedAtStartHasItsTextSelectedSoTheFirstKeyReplacesIt) {
    addTemplates();
    ValuesDialog dialog;
    ModalDriver driver;
    driver.next([&](QWidget*) {
        EXPECT_EQ(focused(), dialog.GetDlgItem(kFrom));
        press(Qt::Key_7);
        press(Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.from, QStringLiteral("7"));
}

TEST(DialogKeys, TabShiftTabAndMnemonicsSelectTheWholeTextButAClickPlacesTheCaret) {
    addTemplates();
    ValuesDialog dialog;
    ModalDriver driver;
    QStringList selected;
    driver.next([&](QWidget*) {
        auto* from = static_cast<CEdit*>(dialog.GetDlgItem(kFrom));
        auto* to = static_cast<CEdit*>(dialog.GetDlgItem(kTo));
        press(Qt::Key_Tab);
        selected << (focused() == to ? to->selectedText() : QStringLiteral("?"));
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        selected << (focused() == from ? from->selectedText() : QStringLiteral("?"));
        press(Qt::Key_T, Qt::AltModifier);
        selected << (focused() == to ? to->selectedText() : QStringLiteral("?"));
        QTest::mouseClick(from, Qt::LeftButton, {}, QPoint(4, from->height() / 2));
        selected << from->selectedText();
        press(Qt::Key_Escape);
    });
    dialog.DoModal();
    EXPECT_EQ(selected, (QStringList{"3.5", "200.00", "3.5", ""}));
}

TEST(DialogKeys, TheSheetsFirstPageHasItsValueSelectedAtStart) {
    addTemplates();
    Page plain(kPlainPage), convert(kConvertPage);
    CPropertySheet sheet(QStringLiteral("Kestrum Morvane"));
    sheet.AddPage(&plain);
    sheet.AddPage(&convert);
    ModalDriver driver;
    driver.next([&](QWidget*) {
        EXPECT_EQ(focused(), plain.GetDlgItem(kFrom));
        press(Qt::Key_7);
        press(Qt::Key_Return);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(plain.from, QStringLiteral("7"));
}

TEST(DialogKeys, EnterPressesAPagesDefaultButtonOnlyWhileItsPageIsCurrent) {
    addTemplates();
    Page plain(kPlainPage), convert(kConvertPage);
    CPropertySheet sheet(QStringLiteral("Kestrum Morvane"));
    sheet.AddPage(&plain);
    sheet.AddPage(&convert);
    ModalDriver driver;
    QTabBar* tabs = nullptr;
    bool openAfterConvert = false;
    driver.next([&](QWidget*) {
        tabs = sheet.findChild<QTabWidget*>()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QTest::mouseClick(convert.GetDlgItem(kFrom), Qt::LeftButton);
        press(Qt::Key_Return);
        openAfterConvert = sheet.isVisible();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        QTest::mouseClick(plain.GetDlgItem(kFrom), Qt::LeftButton);
        press(Qt::Key_Return);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(openAfterConvert);
    EXPECT_EQ(convert.converts, 1);
}
