#include <kestrum/ui/data_exchange.h>
#include <kestrum/ui/property_sheet.h>
#include <kestrum/ui/resources.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <deque>

using namespace kestrum::ui;
using kestrum::test::MessageBoxRecorder;
using kestrum::test::ModalDriver;

namespace {

constexpr unsigned kAbout = 16;

void addPageTemplates() {
    auto& app = ResourceModule::application();
    app.addDialog(DialogTemplate{.id = 9401, .caption = QStringLiteral("Database File"), .cx = 200, .cy = 100,
                                 .controls = {EDITTEXT(1033, 7, 7, 80, 14)}});
    app.addDialog(DialogTemplate{.id = 9402, .caption = QStringLiteral("By Expression"), .cx = 285, .cy = 149,
                                 .controls = {EDITTEXT(1000, 7, 7, 80, 14)}});
    app.addDialog(DialogTemplate{.id = 9403, .caption = QStringLiteral("Unit Database"), .cx = 120, .cy = 227});
}

// Records what happens to it in a log shared by the pages of one sheet.
class LoggingPage : public CPropertyPage {
public:
    LoggingPage(int id, QStringList& log) : CPropertyPage(id), m_log(log) {}
    int number = 1;
    int helps = 0;
    std::vector<unsigned> sysCommands;
    bool addAbout = false;

    bool OnSetActive() override {
        m_log << "set " + title();
        return CPropertyPage::OnSetActive();
    }
    bool OnKillActive() override {
        m_log << "kill " + title();
        return CPropertyPage::OnKillActive();
    }
    void OnOK() override { m_log << "ok " + title(); }
    void OnCancel() override { m_log << "cancel " + title(); }
    bool OnSysCommand(unsigned nID, qintptr lParam) override {
        if (!addAbout || (nID & 0xFFF0) != kAbout) return CPropertyPage::OnSysCommand(nID, lParam);
        sysCommands.push_back(nID);
        return true;
    }
    bool OnCommandHelp() override {
        ++helps;
        return true;
    }

protected:
    bool OnInitDialog() override {
        m_log << "init " + title();
        if (addAbout) {
            CMenu* menu = GetSystemMenu(false);
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, kAbout, QStringLiteral("&About Morvane..."));
        }
        return CPropertyPage::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override {
        if (templateId() == 9401) DDX_Text(pDX, 1033, number);
    }

private:
    QStringList& m_log;
};

// Answers OnQueryClose from a queue (true when empty) and logs the question.
class Sheet : public CPropertySheet {
public:
    Sheet(QStringList& log) : CPropertySheet(QStringLiteral("Kestrum Morvane")), m_log(log) {}
    std::deque<bool> answers;

protected:
    bool OnQueryClose(int nResult) override {
        m_log << QStringLiteral("query %1").arg(nResult);
        if (answers.empty()) return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

private:
    QStringList& m_log;
};

struct Fixture {
    QStringList log;
    LoggingPage first{9401, log}, second{9402, log}, third{9403, log};
    Sheet sheet{log};
    Fixture() {
        addPageTemplates();
        for (LoggingPage* page : {&first, &second, &third}) sheet.AddPage(page);
    }
    QTabWidget* tabs() const { return sheet.findChild<QTabWidget*>(); }
    // A click on the tab, as the user chooses a page.
    void clickTab(int index) const {
        QTabBar* bar = tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
};

// Replaces the text of a shown edit as the user does: a click into it, all selected, typed.
void typeInto(QWidget* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

}  // namespace

TEST(PropertySheet, PagesAreMadeWhenFirstShown) {
    Fixture f;
    ASSERT_TRUE(f.sheet.Create());
    EXPECT_TRUE(f.first.hasControls());
    EXPECT_FALSE(f.second.hasControls());
    EXPECT_FALSE(f.third.hasControls());
    ASSERT_TRUE(kestrum::test::showActive(&f.sheet));
    f.clickTab(1);
    EXPECT_TRUE(f.second.hasControls());
    EXPECT_FALSE(f.third.hasControls());
    f.clickTab(0);
    EXPECT_EQ(f.log, (QStringList{"init Database File", "set Database File", "kill Database File", "init By Expression",
                                  "set By Expression", "kill By Expression", "set Database File"}));
    EXPECT_EQ(f.sheet.GetActivePage(), &f.first);
}

TEST(PropertySheet, TabsAreTheTemplateCaptionsAndTheButtonsOKAndCancelOnly) {
    Fixture f;
    ASSERT_TRUE(f.sheet.Create());
    QStringList tabs, buttons;
    for (int i = 0; i < f.tabs()->count(); ++i) tabs << f.tabs()->tabText(i);
    for (QPushButton* button : f.sheet.findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) buttons << button->text();
    EXPECT_EQ(tabs, (QStringList{"Database File", "By Expression", "Unit Database"}));
    EXPECT_EQ(buttons, (QStringList{"OK", "Cancel"}));
    EXPECT_EQ(f.sheet.windowTitle(), QStringLiteral("Kestrum Morvane"));
    // Room for the largest page: By Expression is the widest, Unit Database the tallest.
    const QSize page = f.tabs()->currentWidget()->size();
    EXPECT_GE(page.width(), MulDiv(285, 6, 4));
    EXPECT_GE(page.height(), MulDiv(227, 13, 8));
}

TEST(PropertySheet, DestroyingTheSheetIsNoChangeOfPage) {
    addPageTemplates();
    QStringList log;
    LoggingPage first{9401, log}, second{9402, log};
    {
        Sheet sheet(log);
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        ASSERT_TRUE(sheet.Create());
        ASSERT_TRUE(sheet.SetActivePage(1));
        log.clear();
    }
    // Taking the current page out of the tabs must not leave it (a Cancel would then still write
    // its entry back) nor make another page current.
    EXPECT_TRUE(log.isEmpty()) << log.join(u',').toStdString();
    EXPECT_EQ(second.parentWidget(), nullptr);
}

TEST(PropertySheet, APageThatRefusesToBeLeftKeepsItsTab) {
    Fixture f;
    MessageBoxRecorder boxes;
    ASSERT_TRUE(f.sheet.Create());
    ASSERT_TRUE(kestrum::test::showActive(&f.sheet));
    typeInto(f.first.GetDlgItem(1033), QStringLiteral("many"));
    f.clickTab(2);
    EXPECT_EQ(f.sheet.GetActiveIndex(), 0);
    EXPECT_EQ(f.tabs()->currentIndex(), 0);
    EXPECT_FALSE(f.third.hasControls());
    EXPECT_EQ(boxes.texts(), QStringList{"Please enter an integer."});
    EXPECT_FALSE(f.sheet.SetActivePage(1));
}

TEST(PropertySheet, OKLeavesTheCurrentPageAsksThenEndsEveryMadePage) {
    Fixture f;
    ModalDriver driver;
    driver.next([&](QWidget*) {
        f.clickTab(1);
        f.log.clear();
        QTest::mouseClick(f.sheet.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(f.sheet.DoModal(), IDOK);
    // The third page was never shown: it has nothing to end.
    EXPECT_EQ(f.log, (QStringList{"kill By Expression", "query 1", "ok Database File", "ok By Expression"}));
}

TEST(PropertySheet, CancelAsksWithoutLeavingThePageAndCanBeRefused) {
    Fixture f;
    f.sheet.answers = {false};
    ModalDriver driver;
    bool openAfterRefusal = false;
    driver.next([&](QWidget*) {
        f.log.clear();
        QTest::mouseClick(f.sheet.cancelButton(), Qt::LeftButton);
        openAfterRefusal = f.sheet.isVisible();
        QTest::keyClick(&f.sheet, Qt::Key_Escape);
    });
    EXPECT_EQ(f.sheet.DoModal(), IDCANCEL);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(f.log, (QStringList{"query 2", "query 2", "cancel Database File"}));
}

TEST(PropertySheet, WindowMenuCommandsAreOfferedToThePages) {
    Fixture f;
    f.second.addAbout = true;
    ModalDriver driver;
    QStringList items;
    driver.next([&](QWidget*) {
        f.clickTab(1);
        f.clickTab(0);  // the command reaches a page that is not current
        // What a right click on the page's free area sends (QTest's clicks do not make one).
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(150, 120), f.first.mapToGlobal(QPoint(150, 120)));
        QApplication::sendEvent(&f.first, &event);
        EXPECT_TRUE(f.sheet.isVisible());
        QTest::keyClick(&f.sheet, Qt::Key_Space, Qt::AltModifier);
    });
    driver.next([&](QWidget* popup) {
        items = kestrum::test::menuTexts(qobject_cast<QMenu*>(popup));
        kestrum::test::chooseMenuItem(popup, QStringLiteral("About Morvane..."));
    });
    driver.next([](QWidget* popup) { kestrum::test::chooseMenuItem(popup, QStringLiteral("Close")); });
    EXPECT_EQ(f.sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(items, (QStringList{"Close", "-", "About Morvane..."}));
    EXPECT_EQ(f.second.sysCommands, std::vector<unsigned>{kAbout});
}

TEST(PropertySheet, F1GoesToTheCurrentPage) {
    Fixture f;
    ModalDriver driver;
    driver.next([&](QWidget*) {
        f.clickTab(1);
        QTest::keyClick(f.second.GetDlgItem(1000), Qt::Key_F1);
        QTest::mouseClick(f.sheet.cancelButton(), Qt::LeftButton);
    });
    f.sheet.DoModal();
    EXPECT_EQ(f.first.helps, 0);
    EXPECT_EQ(f.second.helps, 1);
}

TEST(PropertySheet, PagesBelongToTheProgramAndOutliveTheSheet) {
    QStringList log;
    addPageTemplates();
    LoggingPage page(9401, log);
    {
        CPropertySheet sheet(QStringLiteral("Short-lived"));
        sheet.AddPage(&page);
        ASSERT_TRUE(sheet.Create());
        EXPECT_EQ(page.GetParentSheet(), &sheet);
    }
    EXPECT_EQ(page.parentWidget(), nullptr);
    EXPECT_EQ(page.GetParentSheet(), nullptr);
    EXPECT_EQ(page.GetSystemMenu(false), nullptr);
}
