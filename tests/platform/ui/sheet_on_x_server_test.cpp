// A property sheet on a real X server, driven by real pointer and key events (xdotool): each
// tab clicked shows its page with all of its controls, as a user's desktop shows it.
#include <kestrum/ui/data_exchange.h>
#include <kestrum/ui/property_sheet.h>
#include <kestrum/ui/resources.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <set>

using namespace kestrum::ui;

namespace {

constexpr int kFirst = 9651;

void addTemplates() {
    auto& app = ResourceModule::application();
    app.addDialog(DialogTemplate{.id = kFirst, .caption = QStringLiteral("Database File"), .cx = 200, .cy = 100,
                                 .controls = {LTEXT(QStringLiteral("&File:"), IDC_STATIC, 7, 9, 30, 8),
                                              EDITTEXT(1001, 40, 7, 120, 14)}});
    app.addDialog(DialogTemplate{.id = kFirst + 1, .caption = QStringLiteral("By Expression"), .cx = 200, .cy = 100,
                                 .controls = {EDITTEXT(1011, 7, 7, 100, 14), EDITTEXT(1012, 7, 25, 100, 14),
                                              DEFPUSHBUTTON(QStringLiteral("Convert"), 1013, 120, 7, 50, 14)}});
    app.addDialog(DialogTemplate{.id = kFirst + 2, .caption = QStringLiteral("Units"), .cx = 200, .cy = 100,
                                 .controls = {GROUPBOX(QStringLiteral("Known"), IDC_STATIC, 4, 4, 150, 80),
                                              LISTBOX(1021, 10, 16, 100, 60, WS_VSCROLL | WS_TABSTOP),
                                              AUTOCHECKBOX(QStringLiteral("Sorted"), 1022, 115, 16, 60, 10)}});
}

bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

bool clickAt(QPoint global) {
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(global.x()),
                    QString::number(global.y()), QStringLiteral("click"), QStringLiteral("1")});
}

int colours(const QImage& image) {
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
    return int(seen.size());
}

void expectShowsAllControls(CPropertyPage& page) {
    SCOPED_TRACE(page.title().toStdString());
    ASSERT_TRUE(page.hasControls());
    const QImage picture = page.grab().toImage();
    const QList<QWidget*> controls = page.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    EXPECT_EQ(controls.size(), qsizetype(page.dialogTemplate()->controls.size()));
    for (const QWidget* control : controls) {
        EXPECT_TRUE(control->isVisible()) << control->metaObject()->className();
        EXPECT_GT(colours(picture.copy(control->geometry())), 1) << control->metaObject()->className() << " not drawn";
    }
}

}  // namespace

TEST(SheetOnXServer, EveryTabClickedShowsItsPageWithAllItsControls) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run on a real X server";
    addTemplates();
    CPropertyPage first(kFirst), second(kFirst + 1), third(kFirst + 2);
    CPropertySheet sheet(QStringLiteral("Kestrum Morvane"));
    for (CPropertyPage* page : {&first, &second, &third}) sheet.AddPage(page);
    ASSERT_TRUE(sheet.Create());
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    QTabBar* tabs = sheet.findChild<QTabWidget*>()->tabBar();
    CPropertyPage* pages[] = {&first, &second, &third};
    for (int i : {1, 2, 0, 2}) {
        ASSERT_TRUE(clickAt(tabs->mapToGlobal(tabs->tabRect(i).center())));
        ASSERT_TRUE(QTest::qWaitFor([&] { return sheet.GetActiveIndex() == i; }, 5000)) << "tab " << i;
        QTest::qWait(50);  // the page is painted after the click has been handled
        expectShowsAllControls(*pages[i]);
    }

    // The keyboard reaches the window that has the focus, which a click gives it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return sheet.isActiveWindow(); }, 5000));
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), QStringLiteral("ctrl+Tab")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return sheet.GetActiveIndex() == 0; }, 5000));
    expectShowsAllControls(first);
}

namespace {

class ValuePage : public CPropertyPage {
public:
    using CPropertyPage::CPropertyPage;
    QString value = QStringLiteral("200.00");

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        if (templateId() == kFirst) DDX_Text(pDX, 1001, value);
    }
};

}  // namespace

TEST(SheetOnXServer, TheFirstKeyReplacesTheStartValueAndEnterIsOKAfterAPageWithItsOwnDefault) {
    addTemplates();
    ValuePage first(kFirst), second(kFirst + 1);
    CPropertySheet sheet(QStringLiteral("Kestrum Morvane"));
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    ASSERT_TRUE(sheet.Create());
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    QTabBar* tabs = sheet.findChild<QTabWidget*>()->tabBar();
    sheet.activateWindow();  // as a window manager does with a new window
    ASSERT_TRUE(QTest::qWaitFor([&] { return sheet.isActiveWindow(); }, 5000));
    ASSERT_TRUE(xdotool({QStringLiteral("type"), QStringLiteral("7")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.GetDlgItemText(1001) == QStringLiteral("7"); }, 5000))
        << first.GetDlgItemText(1001).toStdString();
    for (int i : {1, 0}) {
        ASSERT_TRUE(clickAt(tabs->mapToGlobal(tabs->tabRect(i).center())));
        ASSERT_TRUE(QTest::qWaitFor([&] { return sheet.GetActiveIndex() == i; }, 5000));
    }
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sheet.isVisible(); }, 5000)) << "Enter did not press OK";
    EXPECT_EQ(sheet.result(), IDOK);
    EXPECT_EQ(first.value, QStringLiteral("7"));
}
