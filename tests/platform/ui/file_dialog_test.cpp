#include <kestrum/ui/file_dialog.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using kestrum::test::ModalDriver;

TEST(FileDialog, ThePlatformsFilterSyntaxBecomesQtNameFilters) {
    struct Row {
        const char* filter;
        QStringList expected;
    };
    const Row rows[] = {
        {"Morvane Files (*.xml)|*.xml|All Files (*.*)|*.*||", {"Morvane Files (*.xml)", "All Files (*)"}},
        {"Text (*.txt)|*.txt;*.text||", {"Text (*.txt *.text)"}},
        {"Images|*.png; *.jpg|", {"Images (*.png *.jpg)"}},
        {"Stated (*.a)|*.b||", {"Stated (*.b)"}},
        {"No patterns||", {"No patterns (*)"}},
        {"", {}},
    };
    for (const Row& r : rows) EXPECT_EQ(kestrum::ui::nameFilters(QString::fromLatin1(r.filter)), r.expected) << r.filter;
}

TEST(FileDialog, OpenDialogOffersExistingFilesAndAnswersTheChosenPath) {
    QTemporaryDir dir;
    for (const char* name : {"a.xml", "b.xml"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    CFileDialog dialog(true, QStringLiteral("xml"), dir.filePath(QStringLiteral("a.xml")), OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       QStringLiteral("Morvane Files (*.xml)|*.xml|All Files (*.*)|*.*||"));
    ModalDriver driver;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QString directory;
    driver.next([&](QWidget* window) {
        auto* files = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(files, nullptr);
        filters = files->nameFilters();
        mode = files->fileMode();
        directory = files->directory().absolutePath();
        auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, QStringLiteral("b"));  // typed without its extension
        // Enter first takes the completion offered, if a list of it opened, then opens.
        for (int i = 0; i < 2 && files->isVisible(); ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(filters, (QStringList{"Morvane Files (*.xml)", "All Files (*)"}));
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
    EXPECT_EQ(directory, QDir(dir.path()).absolutePath());
    EXPECT_EQ(dialog.GetPathName(), QDir(dir.path()).absoluteFilePath(QStringLiteral("b.xml")));
    EXPECT_EQ(dialog.GetFileName(), QStringLiteral("b.xml"));
}

TEST(FileDialog, CancelLeavesTheNameAsGiven) {
    CFileDialog dialog(true, QStringLiteral("xml"), QStringLiteral("/nowhere/Unit_Database.xml"), OFN_FILEMUSTEXIST);
    ModalDriver driver;
    driver.next([](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.GetPathName(), QStringLiteral("/nowhere/Unit_Database.xml"));
}
