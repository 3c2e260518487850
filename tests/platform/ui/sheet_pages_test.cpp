// A property sheet's pages as a user reaches them: a shown sheet, tabs clicked and keys pressed
// on the focused control; what counts is what is on the screen.
#include <kestrum/ui/edit.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/property_sheet.h>
#include <kestrum/ui/resources.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <set>

using namespace kestrum::ui;

namespace {

constexpr int kFirst = 9611;
constexpr int kPages = 4;

void addTemplates() {
    auto& app = ResourceModule::application();
    app.addDialog(DialogTemplate{.id = kFirst, .caption = QStringLiteral("Database File"), .cx = 220, .cy = 120,
                                 .controls = {LTEXT(QStringLiteral("&File:"), IDC_STATIC, 7, 9, 30, 8),
                                              EDITTEXT(1001, 40, 7, 120, 14),
                                              AUTOCHECKBOX(QStringLiteral("Read only"), 1002, 40, 26, 80, 10)}});
    app.addDialog(DialogTemplate{.id = kFirst + 1, .caption = QStringLiteral("By Expression"), .cx = 220, .cy = 120,
                                 .controls = {LTEXT(QStringLiteral("From:"), IDC_STATIC, 7, 9, 30, 8),
                                              EDITTEXT(1011, 40, 7, 100, 14),
                                              EDITTEXT(1012, 40, 25, 100, 14),
                                              DEFPUSHBUTTON(QStringLiteral("Convert"), 1013, 150, 7, 50, 14)}});
    app.addDialog(DialogTemplate{.id = kFirst + 2, .caption = QStringLiteral("Units"), .cx = 220, .cy = 120,
                                 .controls = {GROUPBOX(QStringLiteral("Known"), IDC_STATIC, 4, 4, 150, 100),
                                              LISTBOX(1021, 10, 16, 100, 80, WS_VSCROLL | WS_TABSTOP)}});
    app.addDialog(DialogTemplate{.id = kFirst + 3, .caption = QStringLiteral("Quantity"), .cx = 220, .cy = 120,
                                 .controls = {PUSHBUTTON(QStringLiteral("&Add"), 1031, 7, 7, 50, 14),
                                              EDITTEXT(1032, 7, 25, 100, 14)}});
}

class Page : public CPropertyPage {
public:
    using CPropertyPage::CPropertyPage;
    bool refuseToLeave = false;
    bool OnKillActive() override { return !refuseToLeave && CPropertyPage::OnKillActive(); }
};

struct ShownSheet {
    Page pages[kPages]{Page(kFirst), Page(kFirst + 1), Page(kFirst + 2), Page(kFirst + 3)};
    CPropertySheet sheet{QStringLiteral("Kestrum Morvane")};
    ShownSheet() {
        addTemplates();
        for (Page& page : pages) sheet.AddPage(&page);
        EXPECT_TRUE(sheet.Create());
        EXPECT_TRUE(kestrum::test::showActive(&sheet));
    }
    QTabBar* tabBar() const { return sheet.findChild<QTabWidget*>()->tabBar(); }
    void clickTab(int index) const { QTest::mouseClick(tabBar(), Qt::LeftButton, {}, tabBar()->tabRect(index).center()); }
    void press(int key, Qt::KeyboardModifiers modifiers) const {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key(key), modifiers);
    }
};

int colours(const QImage& image) {
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
    return int(seen.size());
}

// Every control of the page is visible, and the page's picture has something drawn where each
// one is (a control that is hidden or never painted leaves the page's plain background).
void expectShowsAllControls(const ShownSheet& s, int index) {
    const Page& page = s.pages[index];
    SCOPED_TRACE(page.title().toStdString());
    ASSERT_TRUE(page.hasControls());
    EXPECT_TRUE(page.isVisible());
    const QImage picture = const_cast<Page&>(page).grab().toImage();
    const QList<QWidget*> controls = page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    EXPECT_EQ(controls.size(), qsizetype(page.dialogTemplate()->controls.size()));
    for (const QWidget* control : controls) {
        EXPECT_TRUE(control->isVisible()) << control->metaObject()->className() << " " << GetDlgCtrlID(control);
        const QRect where = control->geometry().intersected(picture.rect());
        EXPECT_GT(colours(picture.copy(where)), 1) << control->metaObject()->className() << " is not drawn";
    }
}

}  // namespace

TEST(SheetPages, EveryPageShowsItsControlsWhenItsTabIsClicked) {
    ShownSheet s;
    expectShowsAllControls(s, 0);
    for (int i : {1, 2, 3, 0, 2}) {
        s.clickTab(i);
        EXPECT_EQ(s.sheet.GetActiveIndex(), i);
        expectShowsAllControls(s, i);
    }
}

TEST(SheetPages, TheKeyboardStepsThroughThePagesShowingTheirControlsAndWrapsRound) {
    ShownSheet s;
    std::vector<int> visited;
    for (int n = 0; n < kPages; ++n) {
        s.press(Qt::Key_Tab, Qt::ControlModifier);
        visited.push_back(s.sheet.GetActiveIndex());
        expectShowsAllControls(s, s.sheet.GetActiveIndex());
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 0}));
    s.press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(s.sheet.GetActiveIndex(), 3);
    s.press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(s.sheet.GetActiveIndex(), 2);
    s.press(Qt::Key_PageDown, Qt::ControlModifier);
    s.press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(s.sheet.GetActiveIndex(), 0);
    expectShowsAllControls(s, 0);
}

TEST(SheetPages, TheKeysTakeTheFocusToThePageTheyShowWithItsValueSelected) {
    ShownSheet s;
    s.press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), s.pages[1].GetDlgItem(1011));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("100 ft"));
    s.press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), s.pages[2].GetDlgItem(1021));
    s.press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), s.pages[1].GetDlgItem(1011));
    EXPECT_EQ(s.pages[1].GetDlgItemText(1011), QStringLiteral("100 ft"));
    EXPECT_EQ(s.pages[1].DlgItem<CEdit>(1011)->selectedText(), QStringLiteral("100 ft"));
}

TEST(SheetPages, TheKeysWorkFromTheSheetsButtonsToo) {
    ShownSheet s;
    s.sheet.cancelButton()->setFocus(Qt::TabFocusReason);
    s.press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(s.sheet.GetActiveIndex(), 1);
    expectShowsAllControls(s, 1);
    s.press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(s.sheet.GetActiveIndex(), 0);
}

TEST(SheetPages, APageThatRefusesToBeLeftStaysOnTabClicksAndKeys) {
    ShownSheet s;
    s.pages[0].refuseToLeave = true;
    s.clickTab(2);
    s.press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(s.sheet.GetActiveIndex(), 0);
    EXPECT_EQ(s.tabBar()->currentIndex(), 0);
    EXPECT_FALSE(s.pages[2].hasControls());
    s.pages[0].refuseToLeave = false;
    s.press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(s.sheet.GetActiveIndex(), 1);
}

TEST(SheetPages, SetActivePageOnAShownSheetShowsThePagesControls) {
    ShownSheet s;
    ASSERT_TRUE(s.sheet.SetActivePage(3));
    EXPECT_EQ(s.tabBar()->currentIndex(), 3);
    expectShowsAllControls(s, 3);
}
