// The demo dialog: its start with the shipped database, the switch between unit systems, the
// About box, a missing database, and its pictures.
#include "about_dlg.h"
#include "probeck_dlg.h"
#include "probeck_resources.h"

#include <engine_fixture.h>
#include <user_input.h>

#include <kestrum/ui/list_box.h>
#include <kestrum/ui/menu.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace editctl_test;
using namespace probeck;

namespace {

class Probeck : public EngineTest {
protected:
    static void SetUpTestSuite() {
        EngineTest::SetUpTestSuite();
        registerResources();
    }
    void SetUp() override { start(QStringLiteral("English"), QStringLiteral("English")); }

    QStringList texts() {
        return {dialog.GetDlgItemText(IDC_LENGTH), dialog.GetDlgItemText(IDC_MASS), dialog.GetDlgItemText(IDC_TIME),
                dialog.GetDlgItemText(IDC_TEMPERATURE)};
    }
    // Presses "Unit Systems Dialog", chooses a system in the list and presses a button there.
    void switchTo(const QString& system, int button) {
        modals.next([=](QWidget* window) {
            EXPECT_TRUE(clickEntry(dynamic_cast<CDialog*>(window)->DlgItem<CListBox>(7545), system));
            QTest::mouseClick(dynamic_cast<CDialog*>(window)->DlgItem<QPushButton>(button), Qt::LeftButton);
        });
        QTest::mouseClick(dialog.DlgItem<QPushButton>(IDC_UNIT_SYSTEMS), Qt::LeftButton);
        EXPECT_EQ(modals.pending(), 0);
    }

    kestrum::test::ModalDriver modals;
    CProbeckDlg dialog;
};

}  // namespace

TEST_F(Probeck, StartsWithItsFourValuesInEnglishUnits) {
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dimsafe Edit Test App"));
    EXPECT_EQ(texts(), (QStringList{"200.00 ft", "50.126 lb", "33.000 s", ""}));
    EXPECT_EQ(dialog.mass()(), 50.126) << "rounded to three decimals before the first exchange";
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(Probeck, ShowsItsValuesAgainInTheChosenUnitSystem) {
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(kestrum::test::showActive(&dialog));
    switchTo(QStringLiteral("SI"), IDOK);
    EXPECT_EQ(texts(), (QStringList{"60.96 m", "22.737 kg", "33.000 s", ""}));
    switchTo(QStringLiteral("English"), IDCANCEL);
    EXPECT_EQ(texts(), (QStringList{"60.96 m", "22.737 kg", "33.000 s", ""})) << "Cancel keeps SI";
    switchTo(QStringLiteral("English"), IDOK);
    EXPECT_EQ(texts(), (QStringList{"200.00 ft", "50.126 lb", "33.000 s", ""})) << "untouched values come back exactly";
    EXPECT_EQ(dialog.length()(), 200.0);
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(Probeck, AnEditedValueIsConvertedWithTheOthers) {
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(kestrum::test::showActive(&dialog));
    CDimsafeEdit& temperature = dialog.temperature();
    ASSERT_TRUE(clickInto(&temperature));
    QTest::keyClicks(&temperature, QStringLiteral("212"));
    switchTo(QStringLiteral("SI"), IDOK);  // the click takes the focus first, as on any button
    EXPECT_EQ(texts(), (QStringList{"60.96 m", "22.737 kg", "33.000 s", "373.1500 K"}));
    EXPECT_EQ(dialog.temperature()(), 212.0);
}

TEST_F(Probeck, WindowMenuOpensTheAboutBox) {
    ASSERT_TRUE(dialog.Create());
    CMenu* menu = dialog.GetSystemMenu(false);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->GetMenuItemCount(), 3);
    EXPECT_EQ(menu->GetMenuItemID(1), 0) << "a separator before the item";
    EXPECT_EQ(menu->GetMenuItemID(2), 0x10);
    EXPECT_EQ(menu->GetMenuString(0x10, MF_BYCOMMAND), QStringLiteral("&About Probeck..."));

    QStringList seen;
    const auto lookAndClose = [&](QWidget* window) {
        seen.clear();
        seen << window->windowTitle();
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) seen << label->text();
            else if (!label->pixmap().isNull()) seen << QStringLiteral("icon");
        }
        clickOn(dynamic_cast<CDialog*>(window)->GetDlgItem(IDOK));
    };
    // As the user opens it: Alt+Space, then the item.
    ASSERT_TRUE(kestrum::test::showActive(&dialog));
    modals.next([](QWidget* popup) { EXPECT_TRUE(kestrum::test::chooseMenuItem(popup, QStringLiteral("About Probeck..."))); });
    modals.next(lookAndClose);
    QTest::keyClick(&dialog, Qt::Key_Space, Qt::AltModifier);
    EXPECT_EQ(modals.pending(), 0);
    EXPECT_EQ(seen.mid(0, 3), (QStringList{"About Probeck", "icon", "Probeck Version 1.0"}));

    // The low four bits of the command are the platform's and do not count; no menu item sends
    // such a command, so it is sent as the platform would.
    seen.clear();
    modals.next(lookAndClose);
    SendMessage(&dialog, WM_SYSCOMMAND, 0x1Fu);
    EXPECT_EQ(seen.mid(0, 3), (QStringList{"About Probeck", "icon", "Probeck Version 1.0"}));
}

TEST_F(Probeck, MissingDatabaseIsReportedOnceAndTheValuesStayUnconverted) {
    CDimsafeEdit::Terminate();
    QTemporaryDir empty;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(empty.path()));
    CDimsafeEdit::Initialize(QStringLiteral("Unit_Database.xml"), QStringLiteral("English"), QStringLiteral("English"));
    QDir::setCurrent(previous);
    EXPECT_EQ(boxes.texts(), QStringList{"Unit Database File Not Found"});
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(texts(), (QStringList{"200.00 ", "50.126 ", "33.000 ", ""}));
    EXPECT_EQ(boxes.texts().size(), 1) << "no engine, no further messages";
}

TEST_F(Probeck, TemplateGeometryInDialogUnits) {
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.size(), QSize(386, 171));  // 257 x 105 at 6 x 13 base units
    EXPECT_EQ(dialog.GetDlgItem(IDC_LENGTH)->geometry(), QRect(11, 11, 134, 23));
    EXPECT_EQ(dialog.GetDlgItem(IDC_TEMPERATURE)->geometry(), QRect(11, 137, 134, 23));
    EXPECT_EQ(dialog.GetDlgItem(IDC_UNIT_SYSTEMS)->geometry(), QRect(246, 11, 129, 23));
    EXPECT_EQ(dialog.GetDlgItem(IDCANCEL)->geometry(), QRect(300, 137, 75, 23));
}

TEST(ProbeckProgram, WritesItsScreenshotsFromAnyFolder) {
    registerEngine();  // the program inherits this process's registry
    QTemporaryDir work;
    QProcess program;
    program.setWorkingDirectory(work.path());
    program.start(QStringLiteral(KESTRUM_BINARY_DIR_BIN "/probeck"), {QStringLiteral("--screenshots"), QStringLiteral("shots")});
    ASSERT_TRUE(program.waitForFinished(60000));
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << errors.toStdString();
    EXPECT_FALSE(errors.contains(QStringLiteral("probeck:"))) << "no message box: " << errors.toStdString();

    const struct {
        const char* file;
        QSize size;
    } pictures[] = {{"probeck.png", {386, 171}},
                    {"probeck-units.png", {147, 205}},
                    {"probeck-unit-systems.png", {213, 150}},
                    {"probeck-si.png", {386, 171}},
                    {"probeck-about.png", {326, 101}}};
    for (const auto& picture : pictures) {
        const QImage image(work.filePath(QStringLiteral("shots/") + QLatin1String(picture.file)));
        EXPECT_EQ(image.size(), picture.size) << picture.file;
    }
}

TEST(ProbeckProgram, RefusesUnknownArgumentsWithItsUsage) {
    QProcess program;
    program.start(QStringLiteral(KESTRUM_BINARY_DIR_BIN "/probeck"), {QStringLiteral("--frobnicate")});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardError().contains("usage: probeck [--screenshots DIR]"));
}
