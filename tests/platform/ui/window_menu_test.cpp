#include <kestrum/ui/dialog.h>
#include <kestrum/ui/resources.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace kestrum::ui;
using kestrum::test::ModalDriver;

namespace {

constexpr unsigned kAbout = 0x10;

void addMenuTemplates() {
    ResourceModule::application().addDialog(DialogTemplate{
        .id = 9300,
        .caption = QStringLiteral("Dimsafe Edit Test App"),
        .cx = 160,
        .cy = 80,
        .style = DS_MODALFRAME | WS_CAPTION | WS_SYSMENU,
        .controls = {LTEXT(QStringLiteral("(This edit box intentionally blank)"), IDC_STATIC, 7, 30, 80, 17),
                     EDITTEXT(1000, 7, 7, 80, 14), PUSHBUTTON(QStringLiteral("Unit Systems Dialog"), 1001, 90, 7, 60, 14),
                     DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 100, 60, 50, 14)}});
    ResourceModule::application().addDialog(
        DialogTemplate{.id = 9301, .caption = QStringLiteral("No menu"), .cx = 80, .cy = 40, .style = DS_MODALFRAME | WS_CAPTION});
}

// Appends an About item, as the demo does, and records window-menu commands.
class MenuDialog : public CDialog {
public:
    MenuDialog() : CDialog(9300) {}
    std::vector<unsigned> sysCommands;

protected:
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        if (CMenu* menu = GetSystemMenu(false)) {
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, kAbout, QStringLiteral("&About Probeck..."));
        }
        return true;
    }
    void OnSysCommand(unsigned nID, qintptr lParam) override {
        sysCommands.push_back(nID);
        if ((nID & 0xFFF0) == kAbout) return;
        CDialog::OnSysCommand(nID, lParam);
    }
};

void rightClick(QWidget* widget, QPoint at) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

}  // namespace

TEST(WindowMenu, RightClickOnAFreeAreaOpensCloseAndTheAppendedItems) {
    addMenuTemplates();
    MenuDialog dialog;
    ModalDriver driver;
    QStringList onDialog, onStatic;
    driver.next([&](QWidget*) {
        rightClick(&dialog, QPoint(2, 2));  // the dialog's own background
        auto* label = dialog.findChild<QLabel*>();
        ASSERT_NE(label, nullptr);
        rightClick(label, QPoint(3, 3));  // a static text passes the click on
        QTest::mouseClick(dialog.DlgItem<QPushButton>(IDOK), Qt::LeftButton);
    });
    driver.next([&](QWidget* popup) {
        onDialog = kestrum::test::menuTexts(qobject_cast<QMenu*>(popup));
        kestrum::test::chooseMenuItem(popup, QStringLiteral("About Probeck..."));
    });
    driver.next([&](QWidget* popup) {
        onStatic = kestrum::test::menuTexts(qobject_cast<QMenu*>(popup));
        popup->close();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(onDialog, (QStringList{"Close", "-", "About Probeck..."}));
    EXPECT_EQ(onStatic, onDialog);
    EXPECT_EQ(dialog.sysCommands, std::vector<unsigned>{kAbout});

    // Run again, the dialog appends its item to a fresh menu.
    QStringList second;
    driver.next([&](QWidget*) {
        rightClick(&dialog, QPoint(2, 2));
        dialog.EndDialog(IDCANCEL);
    });
    driver.next([&](QWidget* popup) {
        second = kestrum::test::menuTexts(qobject_cast<QMenu*>(popup));
        popup->close();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(second, onDialog);
}

TEST(WindowMenu, RightClickOnAControlDoesNotOpenIt) {
    addMenuTemplates();
    MenuDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(kestrum::test::showActive(&dialog));
    ModalDriver driver(std::chrono::milliseconds(1000));  // a menu opened here would fail the test
    rightClick(dialog.GetDlgItem(1001), QPoint(3, 3));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(dialog.sysCommands.empty());
}

TEST(WindowMenu, AltSpaceOpensItAndCloseEndsTheDialog) {
    addMenuTemplates();
    MenuDialog dialog;
    ModalDriver driver;
    driver.next([&](QWidget*) { QTest::keyClick(dialog.GetDlgItem(1000), Qt::Key_Space, Qt::AltModifier); });
    driver.next([](QWidget* popup) { EXPECT_TRUE(kestrum::test::chooseMenuItem(popup, QStringLiteral("Close"))); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.sysCommands, std::vector<unsigned>{SC_CLOSE});
    EXPECT_TRUE(dialog.GetDlgItemText(1000).isEmpty());  // Alt+Space typed nothing
}

TEST(WindowMenu, OnlyDialogsWithASystemMenuHaveOne) {
    addMenuTemplates();
    CDialog plain(9301);
    ASSERT_TRUE(plain.Create());
    EXPECT_EQ(plain.GetSystemMenu(false), nullptr);

    MenuDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_NE(dialog.GetSystemMenu(false), nullptr);
    EXPECT_EQ(dialog.GetSystemMenu(false)->GetMenuItemCount(), 3);
    EXPECT_EQ(dialog.GetSystemMenu(true), nullptr);
    EXPECT_EQ(dialog.GetSystemMenu(false)->GetMenuItemCount(), 1);
    EXPECT_EQ(dialog.GetSystemMenu(false)->GetMenuItemID(0), int(SC_CLOSE));
}
