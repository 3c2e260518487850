#include <kestrum/ui/menu.h>
#include <kestrum/ui/message_window.h>
#include <kestrum/ui/resources.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMenu>

#include <memory>

using namespace kestrum::ui;

namespace {

struct Received {
    unsigned message;
    quintptr wParam;
    qintptr lParam;
};

// A window that records the messages and commands it gets.
class Recorder : public MessageWindow<QWidget> {
public:
    std::vector<Received> messages;
    std::vector<std::pair<int, int>> commands;

protected:
    qintptr WindowProc(unsigned message, quintptr wParam, qintptr lParam) override {
        messages.push_back({message, wParam, lParam});
        MessageWindow<QWidget>::WindowProc(message, wParam, lParam);
        return qintptr(wParam) * 2;
    }
    bool OnCommand(int nID, int nCode) override {
        commands.emplace_back(nID, nCode);
        return true;
    }
};

void addEditMenu() {
    ResourceModule::application().addMenu(103, {POPUP(QStringLiteral("Edit"), {MENUITEM(QStringLiteral("Add"), 32771),
                                                                               MENUITEM(QStringLiteral("Remove"), 32772),
                                                                               MENUITEM_SEPARATOR(),
                                                                               MENUITEM(QStringLiteral("Rename"), 32773)})});
}

}  // namespace

TEST(Menu, LoadsAMenuResourceByIdentifier) {
    addEditMenu();
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(103));
    EXPECT_FALSE(CMenu().LoadMenu(9103));
    ASSERT_EQ(menu.GetMenuItemCount(), 1);
    EXPECT_EQ(menu.GetMenuItemID(0), -1);
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetMenuItemCount(), 4);
    EXPECT_EQ(popup->GetMenuItemID(1), 32772);
    EXPECT_EQ(popup->GetMenuItemID(2), 0);
    EXPECT_EQ(popup->GetMenuString(32773, MF_BYCOMMAND), QStringLiteral("Rename"));
    EXPECT_EQ(popup->GetMenuString(0, MF_BYPOSITION), QStringLiteral("Add"));
    EXPECT_EQ(popup->GetSubMenu(0), nullptr);
}

TEST(Menu, TrackedChoiceIsSentToTheWindowAsACommand) {
    addEditMenu();
    CMenu menu;
    menu.LoadMenu(103);
    Recorder list;
    kestrum::test::ModalDriver driver;
    QStringList shown;
    driver.next([&](QWidget* popup) {
        shown = kestrum::test::menuTexts(qobject_cast<QMenu*>(popup));
        EXPECT_TRUE(kestrum::test::chooseMenuItem(popup, QStringLiteral("Remove")));
    });
    EXPECT_EQ(menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 10, 10, &list), 1);
    EXPECT_EQ(shown, (QStringList{"Add", "Remove", "-", "Rename"}));
    ASSERT_EQ(list.commands.size(), 1u);
    EXPECT_EQ(list.commands[0], std::make_pair(32772, 0));
}

TEST(Menu, ReturnCmdAnswersTheChoiceAndSendsNothing) {
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 16, QStringLiteral("&About"));
    menu.AppendMenu(MF_STRING | MF_GRAYED, 17, QStringLiteral("Disabled"));
    Recorder target;
    kestrum::test::ModalDriver driver;
    driver.next([](QWidget* popup) {
        EXPECT_FALSE(kestrum::test::chooseMenuItem(popup, QStringLiteral("Disabled")));
        EXPECT_TRUE(kestrum::test::chooseMenuItem(popup, QStringLiteral("About")));
    });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &target), 16);
    driver.next([](QWidget* popup) { popup->close(); });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &target), 0);
    EXPECT_TRUE(target.messages.empty());

    EXPECT_EQ(menu.EnableMenuItem(17, MF_ENABLED), MF_GRAYED);
    EXPECT_TRUE(menu.DeleteMenu(16, MF_BYCOMMAND));
    EXPECT_EQ(menu.GetMenuItemCount(), 1);
    EXPECT_FALSE(menu.DeleteMenu(16, MF_BYCOMMAND));
}

TEST(Messages, SentMessagesAreAnsweredAtOnce) {
    Recorder window;
    EXPECT_EQ(SendMessage(&window, WM_USER + 1, 21, -5), 42);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].message, WM_USER + 1);
    EXPECT_EQ(window.messages[0].lParam, -5);
    EXPECT_EQ(SendMessage(nullptr, WM_USER), 0);
    SendMessage(&window, WM_COMMAND, commandParam(1031, EN_KILLFOCUS));
    ASSERT_EQ(window.commands.size(), 1u);
    EXPECT_EQ(window.commands[0], std::make_pair(1031, EN_KILLFOCUS));
}

TEST(Messages, PostedMessagesArriveAfterThePosterReturns) {
    Recorder parent;
    EXPECT_TRUE(PostMessage(&parent, 0x0401, 1006, 0));
    EXPECT_TRUE(parent.messages.empty());
    ASSERT_TRUE(kestrum::test::waitFor([&] { return !parent.messages.empty(); }));
    EXPECT_EQ(parent.messages[0].message, 0x0401u);
    EXPECT_EQ(parent.messages[0].wParam, 1006u);

    // A window deleted before delivery never gets it.
    auto gone = std::make_unique<Recorder>();
    EXPECT_TRUE(PostMessage(gone.get(), 0x0402, 1, 0));
    gone.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(PostMessage(nullptr, 0x0402));
}
