// The program as a user starts it: with and without its database, without a registered engine,
// and its --version and --screenshots options.
#include "converter_fixture.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace converter_test;

namespace {

struct Outcome {
    int exitCode = -1;
    bool finished = false;
    QString out;
    QString err;
};

Outcome runMorvane(const QStringList& arguments, const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MORVANE_PROGRAM), arguments);
    Outcome run;
    run.finished = process.waitForFinished(120000);
    if (!run.finished) process.kill();
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QProcessEnvironment offscreen() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

}  // namespace

TEST_F(ConverterTest, StartsWithTheDatabaseBesideTheProgramWithoutAMessage) {
    openSheet();
    EXPECT_TRUE(m_boxes.boxes().empty()) << m_boxes.texts().join(u'|').toStdString();
    EXPECT_EQ(fileTab().GetDlgItemText(IDC_FILE_NAME), databasePath());
    EXPECT_EQ(fileTab().IsDlgButtonChecked(IDC_OVERWRITE), BST_CHECKED);
    ASSERT_TRUE(clickTab(1));
    EXPECT_EQ(entries(byQuantity().DlgItem<CListBox>(IDC_QUANTITY_LIST)),
              (QStringList{"Length", "Mass", "Temperature", "Time", "Velocity"}));
    EXPECT_FALSE(m_engine.HasUnsavedChanges());
}

TEST_F(ConverterTest, WithoutTheDatabaseOneBoxSaysSoAndFileOpenMakesConversionsWork) {
    QFile::remove(databasePath());
    openSheet();
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, QStringLiteral("Unit Database File Not Found"));
    EXPECT_EQ(m_boxes.boxes()[0].caption, QStringLiteral("KestrumLib.Morvane"));
    EXPECT_EQ(m_boxes.boxes()[0].icon(), 0u);
    EXPECT_EQ(m_boxes.boxes()[0].owner, nullptr);
    m_boxes.clear();

    ASSERT_TRUE(clickTab(3));
    typeInto(byExpression().GetDlgItem(IDC_FROM_EXPRESSION), QStringLiteral("ft"));
    typeInto(byExpression().GetDlgItem(IDC_TO_EXPRESSION), QStringLiteral("m"));
    clickOn(byExpression().DlgItem<QAbstractButton>(IDC_CONVERT));
    EXPECT_EQ(m_boxes.texts(), QStringList{"Initialize the Unit System First"});
    m_boxes.clear();

    const QString other = m_dir.filePath(QStringLiteral("other.xml"));
    writeFile(other, kSmallDatabase);
    ASSERT_TRUE(clickTab(0));
    typeInto(fileTab().GetDlgItem(IDC_FILE_NAME), other);
    clickOn(fileTab().DlgItem<QAbstractButton>(IDC_FILE_OPEN));
    EXPECT_EQ(m_boxes.texts(), QStringList{"Unit Database File Read Successfully"});
    m_boxes.clear();
    ASSERT_TRUE(clickTab(3));
    clickOn(byExpression().DlgItem<QAbstractButton>(IDC_CONVERT));
    EXPECT_TRUE(m_boxes.boxes().empty());
    EXPECT_EQ(byExpression().GetDlgItemText(IDC_MULTIPLY_BY), QStringLiteral("0.3048"));
}

TEST(Program, PrintsItsVersion) {
    const Outcome run = runMorvane({QStringLiteral("--version")}, QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringLiteral("1.01\n"));
}

TEST(Program, WithoutARegisteredEngineSaysWhyInOneLineAndShowsNoWindow) {
    QTemporaryDir dir;
    QProcessEnvironment environment = offscreen();
    environment.insert(QStringLiteral("KESTRUM_REGISTRY"), dir.filePath(QStringLiteral("empty.reg")));
    // A window would wait for the user: the program must end by itself.
    const Outcome run = runMorvane({}, environment);
    ASSERT_TRUE(run.finished);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
    QStringList lines;
    for (const QString& line : run.err.split(u'\n', Qt::SkipEmptyParts))
        if (line.startsWith(QStringLiteral("morvane:"))) lines << line;
    ASSERT_EQ(lines.size(), 1) << run.err.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("not registered"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("kestrum-regsvr"))) << lines[0].toStdString();
}

TEST(Program, WritesAScreenshotOfEveryPageAndWindow) {
    QTemporaryDir dir;
    const Outcome run = runMorvane({QStringLiteral("--screenshots"), dir.path()}, offscreen());
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList pages{"01-database-file.png",       "02-by-quantity.png",       "03-by-unitsystem.png",
                            "04-by-expression.png",       "05-quantity-database.png", "06-unit-database.png",
                            "07-unitsystem-database.png"};
    const QStringList windows{"08-name.png", "09-select-preferred-unit.png", "10-about.png", "11-help.png"};
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), pages + windows);
    const QSize sheet = QImage(dir.filePath(pages[0])).size();
    EXPECT_GT(sheet.width(), 400);
    QSet<QByteArray> distinct;
    for (const QString& page : pages) {
        EXPECT_EQ(QImage(dir.filePath(page)).size(), sheet) << page.toStdString();
        distinct.insert(readFile(dir.filePath(page)));
    }
    EXPECT_EQ(distinct.size(), pages.size()) << "every page looks different";
    for (const QString& window : windows) {
        const QImage image(dir.filePath(window));
        EXPECT_FALSE(image.isNull()) << window.toStdString();
        EXPECT_GT(image.width(), 100) << window.toStdString();
    }
}

TEST_F(ConverterTest, TheSevenTabsStackInTwoRowsAcrossTheWidestPage) {
    openSheet();
    m_sheet->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_sheet.get()));
    auto* tabs = m_sheet->findChild<QTabWidget*>();
    QTabBar* bar = tabs->tabBar();
    EXPECT_EQ(bar->count(), 7);
    // The sheet keeps the size of its widest page (285 dialog units) instead of growing to one
    // row of seven tabs.
    EXPECT_LT(m_sheet->width(), 285 * 6 / 4 + 60);
    EXPECT_GE(bar->height(), 2 * bar->fontMetrics().height());
    // The row away from the page starts with the first tab of the other row; choosing a tab there
    // brings its row next to the page.
    const QPoint farRow(8, 4);
    QTest::mouseClick(bar, Qt::LeftButton, {}, farRow);
    EXPECT_EQ(m_sheet->GetActiveIndex(), 4);
    QTest::mouseClick(bar, Qt::LeftButton, {}, farRow);
    EXPECT_EQ(m_sheet->GetActiveIndex(), 0);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 8, bar->height() - 4));
    EXPECT_EQ(m_sheet->GetActiveIndex(), 3) << "the last tab of the row next to the page";
}
