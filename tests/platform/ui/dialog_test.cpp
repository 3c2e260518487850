#include <kestrum/ui/app.h>
#include <kestrum/ui/data_exchange.h>
#include <kestrum/ui/dialog.h>
#include <kestrum/ui/edit.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/resources.h>

#include <qt_test_support.h>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace kestrum::ui;
using kestrum::test::MessageBoxRecorder;
using kestrum::test::ModalDriver;

namespace {

enum : int { kValue = 1000, kApply = 1001, kNotifying = 1002, kSilent = 1003 };

void addValueTemplate() {
    ResourceModule::application().addDialog(DialogTemplate{
        .id = 9200,
        .caption = QStringLiteral("Value"),
        .cx = 160,
        .cy = 100,
        .style = DS_MODALFRAME | WS_CAPTION | WS_SYSMENU,
        .controls = {EDITTEXT(kValue, 7, 7, 80, 14), PUSHBUTTON(QStringLiteral("Apply"), kApply, 100, 7, 50, 14),
                     LISTBOX(kNotifying, 7, 25, 60, 40, WS_TABSTOP),
                     CONTROL({}, kSilent, ControlClass::ListBox, WS_BORDER | WS_TABSTOP, 80, 25, 60, 40),
                     DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 50, 80, 50, 14),
                     PUSHBUTTON(QStringLiteral("Cancel"), IDCANCEL, 103, 80, 50, 14)}});
}

class ValueDialog : public CDialog {
public:
    ValueDialog() : CDialog(9200) {}
    double value = 2.5;
    int inits = 0;
    int helps = 0;
    std::vector<std::pair<int, int>> commands;

protected:
    bool OnInitDialog() override {
        ++inits;
        for (int id : {kNotifying, kSilent})
            for (const char* text : {"a", "b"}) DlgItem<CListBox>(id)->AddString(QString::fromLatin1(text));
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, kValue, value); }
    bool OnCommand(int nID, int nCode) override {
        commands.emplace_back(nID, nCode);
        return true;
    }
    bool OnCommandHelp() override {
        ++helps;
        return true;
    }
};

void click(CDialog* dialog, int id) { QTest::mouseClick(dialog->DlgItem<QPushButton>(id), Qt::LeftButton); }

// Replaces the text of an edit as the user does: a click into it, all selected, typed.
void type(CDialog* dialog, int id, const QString& text) {
    QWidget* edit = dialog->GetDlgItem(id);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

}  // namespace

TEST(Dialog, OKSavesTheDataAndEndsWithIDOK) {
    addValueTemplate();
    ValueDialog dialog;
    ModalDriver driver;
    QString shown;
    driver.next([&](QWidget*) {
        shown = dialog.GetDlgItemText(kValue);
        type(&dialog, kValue, QStringLiteral("7.25"));
        click(&dialog, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shown, QStringLiteral("2.5"));
    EXPECT_EQ(dialog.value, 7.25);
    EXPECT_EQ(dialog.inits, 1);
}

TEST(Dialog, CancelEscapeAndTheCloseBoxEndWithIDCANCELWithoutSaving) {
    addValueTemplate();
    const std::vector<std::function<void(ValueDialog&)>> ways = {
        [](ValueDialog& d) { click(&d, IDCANCEL); },
        [](ValueDialog& d) { QTest::keyClick(d.GetDlgItem(kValue), Qt::Key_Escape); },
        [](ValueDialog& d) { d.close(); },
        [](ValueDialog& d) { SendMessage(&d, WM_SYSCOMMAND, SC_CLOSE + 2); },
    };
    for (std::size_t i = 0; i < ways.size(); ++i) {
        ValueDialog dialog;
        ModalDriver driver;
        driver.next([&](QWidget*) {
            type(&dialog, kValue, QStringLiteral("9"));
            ways[i](dialog);
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "way " << i;
        EXPECT_EQ(dialog.value, 2.5) << "way " << i;
    }
}

TEST(Dialog, OKWithABadNumberKeepsTheDialogOpen) {
    addValueTemplate();
    MessageBoxRecorder boxes;
    ValueDialog dialog;
    ModalDriver driver;
    bool stayedOpen = false;
    driver.next([&](QWidget*) {
        type(&dialog, kValue, QStringLiteral("seven"));
        QTest::keyClick(dialog.GetDlgItem(kValue), Qt::Key_Return);  // Enter presses the default button
        stayedOpen = dialog.isVisible();
        type(&dialog, kValue, QStringLiteral("7"));
        click(&dialog, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(boxes.texts(), QStringList{"Please enter a number."});
    EXPECT_EQ(dialog.value, 7);
}

TEST(Dialog, ControlNotificationsArriveAsCommands) {
    addValueTemplate();
    ValueDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(kestrum::test::showActive(&dialog));
    dialog.commands.clear();

    click(&dialog, kApply);
    QTest::mouseClick(dialog.GetDlgItem(kValue), Qt::LeftButton);
    QTest::keyClicks(dialog.GetDlgItem(kValue), QStringLiteral("1"));
    for (int id : {kNotifying, kSilent}) {
        auto* list = dialog.DlgItem<CListBox>(id);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    }
    // The edit had the focus when the dialog was shown: the click on the button takes it away.
    const std::vector<std::pair<int, int>> expected = {{kValue, EN_KILLFOCUS}, {kApply, BN_CLICKED},
                                                       {kValue, EN_SETFOCUS},  {kValue, EN_CHANGE},
                                                       {kValue, EN_KILLFOCUS}, {kNotifying, LBN_SELCHANGE}};
    EXPECT_EQ(dialog.commands, expected);
}

namespace {

// Handlers mapped to notifications, and a subclass that looks at every command before them.
class MappedDialog : public CDialog {
public:
    MappedDialog() : CDialog(9200) {
        MapCommand(kApply, BN_CLICKED, [this] { ++applied; });
        MapCommand(kNotifying, LBN_SELCHANGE, [this] { selected += 1; });
        MapCommand(kNotifying, LBN_SELCHANGE, [this] { selected += 10; });  // replaces the first
    }
    int applied = 0;
    int selected = 0;
    bool swallowApply = false;
    std::vector<std::pair<int, int>> seen;

protected:
    bool OnInitDialog() override {
        for (const char* text : {"a", "b"}) DlgItem<CListBox>(kNotifying)->AddString(QString::fromLatin1(text));
        return CDialog::OnInitDialog();
    }
    bool OnCommand(int nID, int nCode) override {
        seen.emplace_back(nID, nCode);
        if (swallowApply && nID == kApply) return true;
        return CDialog::OnCommand(nID, nCode);
    }
};

}  // namespace

TEST(Dialog, AMappedNotificationRunsItsHandlerAfterOnCommandHasSeenIt) {
    addValueTemplate();
    MappedDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(kestrum::test::showActive(&dialog));

    click(&dialog, kApply);
    EXPECT_EQ(dialog.applied, 1);
    auto* list = dialog.DlgItem<CListBox>(kNotifying);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(dialog.selected, 10) << "only the last handler mapped to a notification runs";
    const std::pair<int, int> applyClick{kApply, BN_CLICKED};
    EXPECT_EQ(std::count(dialog.seen.begin(), dialog.seen.end(), applyClick), 1);

    dialog.swallowApply = true;
    click(&dialog, kApply);
    EXPECT_EQ(dialog.applied, 1) << "an override that handles the command itself keeps it from the handler";
    EXPECT_EQ(std::count(dialog.seen.begin(), dialog.seen.end(), applyClick), 2);
}

TEST(Dialog, ADialogWithoutParentIsOwnedByTheMainWindowOnlyWhileItRuns) {
    addValueTemplate();
    CWinApp app(QStringLiteral("Probeck"));
    QWidget main;
    app.m_pMainWnd = &main;
    auto* dialog = new ValueDialog;
    ModalDriver driver;
    QWidget* ownerWhileRunning = nullptr;
    driver.next([&](QWidget*) {
        ownerWhileRunning = dialog->parentWidget();
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(dialog->DoModal(), IDCANCEL);
    EXPECT_EQ(ownerWhileRunning, &main);
    EXPECT_EQ(dialog->parentWidget(), nullptr);
    delete dialog;  // the main window never deletes it
}

TEST(Dialog, F1AsksForHelp) {
    addValueTemplate();
    ValueDialog dialog;
    ModalDriver driver;
    driver.next([&](QWidget*) {
        QTest::keyClick(dialog.GetDlgItem(kValue), Qt::Key_F1);
        click(&dialog, IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.helps, 1);
}

TEST(ModalDriverTest, AForgottenModalIsClosedAndFailsTheTest) {
    addValueTemplate();
    ValueDialog dialog;
    int result = 0;
    EXPECT_NONFATAL_FAILURE(
        {
            ModalDriver driver(std::chrono::milliseconds(200));
            result = dialog.DoModal();
        },
        "left open");
    EXPECT_EQ(result, IDCANCEL);
}
