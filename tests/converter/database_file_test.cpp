// The Database File page: Overwrite and Append reads, saves, failures and Browse.
#include "converter_fixture.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

using namespace converter_test;

namespace {

class DatabaseFilePage : public ConverterTest {
protected:
    void SetUp() override {
        ConverterTest::SetUp();
        openSheet();
    }
    // Clicks a button where its label or mark is (a radio button takes no click beside its text).
    void press(int nID) {
        auto* button = fileTab().DlgItem<QAbstractButton>(nID);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    void openFile(const QString& path, int mode) {
        typeInto(fileTab().GetDlgItem(IDC_FILE_NAME), path);
        press(mode);
        press(IDC_FILE_OPEN);
    }
    QStringList engineQuantities() {
        QStringList names;
        EXPECT_EQ(m_engine.Quantity_Set(names), S_OK);
        return names;
    }
};

}  // namespace

TEST_F(DatabaseFilePage, AppendMergesAFileAndOverwriteReplacesTheDatabase) {
    const QString angle = m_dir.filePath(QStringLiteral("angle.xml"));
    writeFile(angle, kAngleDatabase);
    openFile(angle, IDC_APPEND);
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, QStringLiteral("Unit Database File Read Successfully"));
    EXPECT_EQ(m_boxes.boxes()[0].caption, QStringLiteral("Message"));
    EXPECT_EQ(m_boxes.boxes()[0].icon(), MB_ICONINFORMATION);
    EXPECT_EQ(engineQuantities(), (QStringList{"Angle", "Length", "Mass", "Temperature", "Time", "Velocity"}));
    EXPECT_TRUE(m_engine.HasUnsavedChanges()) << "an Append read is a change to the file that was loaded";

    openFile(angle, IDC_OVERWRITE);
    EXPECT_EQ(engineQuantities(), QStringList{"Angle"});
    EXPECT_FALSE(m_engine.HasUnsavedChanges());
}

TEST_F(DatabaseFilePage, AFileThatCannotBeReadShowsTheEngineMessageAndKeepsTheDatabase) {
    const QString corrupt = m_dir.filePath(QStringLiteral("corrupt.xml"));
    writeFile(corrupt, "<UNITS_DATABASE><QUANTITIES>");
    const struct {
        QString path;
        const char* message;
    } rows[] = {{m_dir.filePath(QStringLiteral("missing.xml")), "Unit Database File Not Found"},
                {corrupt, "Unit Database is Corrupt"}};
    for (const auto& row : rows) {
        m_boxes.clear();
        openFile(row.path, IDC_OVERWRITE);
        ASSERT_EQ(m_boxes.boxes().size(), 1u) << row.message;
        EXPECT_EQ(m_boxes.boxes()[0].text, QString::fromLatin1(row.message));
        EXPECT_EQ(m_boxes.boxes()[0].caption, QStringLiteral("KestrumLib.Morvane"));
        EXPECT_EQ(engineQuantities().size(), 5);
    }
}

TEST_F(DatabaseFilePage, SaveWritesTheDatabaseToTheNamedFile) {
    ASSERT_EQ(m_engine.Quantity_Add(QStringLiteral("Area")), S_OK);
    const QString saved = m_dir.filePath(QStringLiteral("saved.xml"));
    typeInto(fileTab().GetDlgItem(IDC_FILE_NAME), saved);
    press(IDC_FILE_SAVE);
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, QStringLiteral("Unit Database File Written Successfully"));
    EXPECT_EQ(m_boxes.boxes()[0].caption, QStringLiteral("Message"));
    EXPECT_EQ(m_boxes.boxes()[0].icon(), MB_ICONINFORMATION);
    EXPECT_FALSE(m_engine.HasUnsavedChanges());

    MorvaneEngine other;
    ASSERT_EQ(other.Create(), S_OK);
    ASSERT_EQ(other.Initialize(saved), S_OK);
    QStringList names;
    ASSERT_EQ(other.Quantity_Set(names), S_OK);
    EXPECT_TRUE(names.contains(QStringLiteral("Area")));
}

TEST_F(DatabaseFilePage, ASaveThatFailsSaysSoAndLeavesTheChangesUnsaved) {
    ASSERT_EQ(m_engine.Quantity_Add(QStringLiteral("Area")), S_OK);
    typeInto(fileTab().GetDlgItem(IDC_FILE_NAME), m_dir.filePath(QStringLiteral("no/such/folder/saved.xml")));
    press(IDC_FILE_SAVE);
    EXPECT_EQ(m_boxes.texts(), QStringList{"No Write Permissions for this File"});
    EXPECT_TRUE(m_engine.HasUnsavedChanges());
    EXPECT_EQ(readFile(databasePath()), QByteArray(kSmallDatabase));
}

TEST_F(DatabaseFilePage, BrowseOffersExistingDatabaseFilesAndShowsTheChosenPath) {
    const QString angle = m_dir.filePath(QStringLiteral("angle.xml"));
    writeFile(angle, kAngleDatabase);
    kestrum::test::ModalDriver modals;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    modals.next([&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        mode = dialog->fileMode();
        // Typed, as the directory the dialog reads in the background may still reselect the
        // initial file.
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(angle);
        static_cast<QDialog*>(dialog)->accept();
    });
    press(IDC_BROWSE);
    EXPECT_EQ(filters, (QStringList{"Morvane Files (*.xml)", "All Files (*)"}));
    EXPECT_EQ(mode, QFileDialog::ExistingFile);
    EXPECT_EQ(fileTab().GetDlgItemText(IDC_FILE_NAME), angle);

    modals.next([](QWidget* window) { static_cast<QDialog*>(window)->reject(); });
    press(IDC_BROWSE);
    EXPECT_EQ(fileTab().GetDlgItemText(IDC_FILE_NAME), angle);
}

TEST_F(DatabaseFilePage, OverwriteOverUnsavedChangesAsksFirstAndNamesTheFileYesWrites) {
    const QString angle = m_dir.filePath(QStringLiteral("angle.xml"));
    writeFile(angle, kAngleDatabase);
    ASSERT_EQ(m_engine.Quantity_Add(QStringLiteral("Area")), S_OK);
    const QString question = QStringLiteral(
                                 "The Unit Database has unsaved changes, which reading %1 would discard.\n\n"
                                 "Save them to %2 first?")
                                 .arg(angle, databasePath());

    // Cancel: nothing is read, nothing written, the changes stay.
    m_boxes.answer(IDCANCEL);
    openFile(angle, IDC_OVERWRITE);
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, question);
    EXPECT_EQ(m_boxes.boxes()[0].caption, QStringLiteral("Morvane"));
    EXPECT_EQ(m_boxes.boxes()[0].icon(), MB_ICONQUESTION);
    EXPECT_TRUE(engineQuantities().contains(QStringLiteral("Area")));
    EXPECT_TRUE(m_engine.HasUnsavedChanges());
    EXPECT_EQ(readFile(databasePath()), QByteArray(kSmallDatabase));

    // Yes: the changes go to the file they came from (not the one about to be read), then the read.
    m_boxes.clear();
    m_boxes.answer(IDYES);
    openFile(angle, IDC_OVERWRITE);
    EXPECT_EQ(m_boxes.texts(), (QStringList{question, "Unit Database File Read Successfully"}));
    EXPECT_EQ(engineQuantities(), QStringList{"Angle"});
    EXPECT_TRUE(readFile(databasePath()).contains("\"Area\""));
    EXPECT_EQ(readFile(angle), QByteArray(kAngleDatabase));

    // No: read at once; the question now names the file the database came from last.
    ASSERT_EQ(m_engine.Quantity_Add(QStringLiteral("Volume")), S_OK);
    m_boxes.clear();
    m_boxes.answer(IDNO);
    openFile(databasePath(), IDC_OVERWRITE);
    ASSERT_EQ(m_boxes.boxes().size(), 2u);
    EXPECT_TRUE(m_boxes.boxes()[0].text.endsWith(QStringLiteral("Save them to %1 first?").arg(angle)));
    EXPECT_EQ(readFile(angle), QByteArray(kAngleDatabase));
    EXPECT_FALSE(engineQuantities().contains(QStringLiteral("Volume")));
    EXPECT_TRUE(engineQuantities().contains(QStringLiteral("Area")));
}

TEST_F(DatabaseFilePage, AppendAndAReadWithNothingUnsavedAskNothing) {
    const QString angle = m_dir.filePath(QStringLiteral("angle.xml"));
    writeFile(angle, kAngleDatabase);
    openFile(angle, IDC_OVERWRITE);
    EXPECT_EQ(m_boxes.texts(), QStringList{"Unit Database File Read Successfully"});
    ASSERT_EQ(m_engine.Quantity_Add(QStringLiteral("Area")), S_OK);
    m_boxes.clear();
    openFile(databasePath(), IDC_APPEND);
    EXPECT_EQ(m_boxes.texts(), QStringList{"Unit Database File Read Successfully"}) << "Append discards nothing";
}
