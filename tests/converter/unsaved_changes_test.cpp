// What counts as an unsaved change, and the question the sheet asks before it closes with one.
#include "converter_fixture.h"

#include <QPushButton>
#include <QTest>

#include <functional>

using namespace converter_test;

namespace {

class UnsavedChanges : public ConverterTest {
protected:
    // Runs the sheet as the program does; `close` ends it as the user does, while it runs.
    int runSheet(const std::function<void()>& close, bool* stayedOpen = nullptr) {
        kestrum::test::ModalDriver modals;
        modals.next([&](QWidget*) {
            close();
            if (stayedOpen) *stayedOpen = m_sheet->isVisible();
            if (m_sheet->isVisible()) {
                m_boxes.answer(IDNO);
                clickOn(m_sheet->cancelButton());
            }
        });
        // The program runs the sheet modally from the start: it was shown only to be worked on.
        m_sheet->hide();
        return m_sheet->DoModal();
    }
    QStringList questions() const {
        QStringList asked;
        for (const auto& box : m_boxes.boxes())
            if (box.caption == QLatin1String("Morvane")) asked << box.text;
        return asked;
    }
};

const QString kQuestion = QStringLiteral("The Unit Database has unsaved changes. Save them?");

}  // namespace

TEST_F(UnsavedChanges, EditsThatChangeTheDatabaseMarkItAndLookingOrFailingDoesNot) {
    const QString angle = m_dir.filePath(QStringLiteral("angle.xml"));
    writeFile(angle, kAngleDatabase);
    const QString length = QStringLiteral("Length"), foot = QStringLiteral("foot"), si = QStringLiteral("SI");
    const struct {
        const char* label;
        std::function<HRESULT(MorvaneEngine&)> edit;
        bool changes;
    } rows[] = {
        {"add a quantity", [](MorvaneEngine& e) { return e.Quantity_Add(QStringLiteral("Area")); }, true},
        {"add a taken name", [](MorvaneEngine& e) { return e.Quantity_Add(QStringLiteral("length")); }, false},
        {"rename a unit", [&](MorvaneEngine& e) { return e.Unit_Rename(foot, QStringLiteral("feet")); }, true},
        {"remove a unit system", [&](MorvaneEngine& e) { return e.UnitSystem_Remove(si); }, true},
        {"add a synonym", [&](MorvaneEngine& e) { return e.Unit_Synonym_Add(foot, QStringLiteral("foots")); }, true},
        {"same symbol", [&](MorvaneEngine& e) { return e.Unit_Symbol_Replace(foot, QStringLiteral("ft")); }, false},
        {"new symbol", [&](MorvaneEngine& e) { return e.Unit_Symbol_Replace(foot, QStringLiteral("FT")); }, true},
        {"same factor", [&](MorvaneEngine& e) { return e.Unit_ConversionFactor_Replace(foot, 0.3048); }, false},
        {"new factor", [&](MorvaneEngine& e) { return e.Unit_ConversionFactor_Replace(foot, 0.3); }, true},
        {"same offset", [&](MorvaneEngine& e) { return e.Unit_ConversionOffset_Replace(foot, 0); }, false},
        {"same vector", [&](MorvaneEngine& e) { return e.Quantity_DimVector_Replace(length, {0, 1}); }, false},
        {"new vector", [&](MorvaneEngine& e) { return e.Quantity_DimVector_Replace(length, {0, 2}); }, true},
        {"same expression",
         [](MorvaneEngine& e) { return e.Quantity_Expression_Replace(QStringLiteral("Velocity"), QStringLiteral("Length/Time")); },
         false},
        {"same preferred unit", [&](MorvaneEngine& e) { return e.UnitSystem_PrefUnit_Replace(si, length, QStringLiteral("metre")); }, false},
        {"new preferred unit", [&](MorvaneEngine& e) { return e.UnitSystem_PrefUnit_Replace(si, length, foot); }, true},
        {"refused replace", [&](MorvaneEngine& e) { return e.Unit_Symbol_Replace(QStringLiteral("nounit"), QStringLiteral("x")); }, false},
        {"append a file", [&](MorvaneEngine& e) { return e.ReadUnitDatabase(angle, APPEND); }, true},
        {"overwrite with a file", [&](MorvaneEngine& e) { return e.ReadUnitDatabase(angle, OVERWRITE); }, false},
    };
    for (const auto& row : rows) {
        MorvaneEngine engine;
        ASSERT_EQ(engine.Create(), S_OK);
        ASSERT_EQ(engine.Initialize(databasePath()), S_OK);
        row.edit(engine);
        EXPECT_EQ(engine.HasUnsavedChanges(), row.changes) << row.label;
    }

    MorvaneEngine engine;
    ASSERT_EQ(engine.Create(), S_OK);
    ASSERT_EQ(engine.Initialize(databasePath()), S_OK);
    ASSERT_EQ(engine.Quantity_Add(QStringLiteral("Area")), S_OK);
    ASSERT_EQ(engine.WriteUnitDatabase(m_dir.filePath(QStringLiteral("saved.xml"))), S_OK);
    EXPECT_FALSE(engine.HasUnsavedChanges()) << "saved";
    ASSERT_EQ(engine.Quantity_Add(QStringLiteral("Volume")), S_OK);
    ASSERT_EQ(engine.Initialize(databasePath()), S_OK);
    EXPECT_TRUE(engine.HasUnsavedChanges()) << "Initialize reads nothing once a database is loaded";
    ASSERT_EQ(engine.ReadUnitDatabase(angle, OVERWRITE), S_OK);
    EXPECT_FALSE(engine.HasUnsavedChanges()) << "replaced by a file";
}

TEST_F(UnsavedChanges, NoQuestionWithoutChanges) {
    openSheet();
    EXPECT_EQ(runSheet([&] { clickOn(m_sheet->cancelButton()); }), IDCANCEL);
    EXPECT_TRUE(questions().isEmpty());
}

TEST_F(UnsavedChanges, YesSavesTheChangesToTheNamedFileAndCloses) {
    openSheet();
    ASSERT_EQ(m_engine.Quantity_Add(QStringLiteral("Area")), S_OK);
    m_boxes.answer(IDYES);
    EXPECT_EQ(runSheet([&] { m_sheet->close(); }), IDCANCEL);
    EXPECT_EQ(questions(), QStringList{kQuestion});
    EXPECT_EQ(m_boxes.boxes()[0].buttons(), MB_YESNOCANCEL);
    EXPECT_TRUE(m_boxes.texts().contains(QStringLiteral("Unit Database File Written Successfully")));
    EXPECT_TRUE(readFile(databasePath()).contains("NAME = \"Area\""));
}

TEST_F(UnsavedChanges, NoDropsTheChangesAndCancelKeepsTheSheetOpen) {
    openSheet();
    ASSERT_EQ(m_engine.Quantity_Add(QStringLiteral("Area")), S_OK);
    m_boxes.answer(IDCANCEL);
    bool stayedOpen = false;
    EXPECT_EQ(runSheet([&] { clickOn(m_sheet->cancelButton()); }, &stayedOpen), IDCANCEL);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(questions(), (QStringList{kQuestion, kQuestion}));
    EXPECT_EQ(readFile(databasePath()), QByteArray(kSmallDatabase));
}

TEST_F(UnsavedChanges, ASaveThatFailsKeepsTheSheetOpen) {
    openSheet();
    ASSERT_EQ(m_engine.Quantity_Add(QStringLiteral("Area")), S_OK);
    typeInto(fileTab().GetDlgItem(IDC_FILE_NAME), m_dir.filePath(QStringLiteral("no/such/folder/db.xml")));
    m_boxes.answer(IDYES);
    bool stayedOpen = false;
    runSheet([&] { clickOn(m_sheet->okButton()); }, &stayedOpen);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(m_boxes.texts().contains(QStringLiteral("No Write Permissions for this File")));
}

TEST_F(UnsavedChanges, OKWritesBackTheEntryBeingEditedFirstAndCancelDoesNot) {
    openSheet(5);
    CUnitDatabaseDlg& page = units();
    ASSERT_TRUE(choose(page.DlgItem<CListBox>(IDC_QUANTITY_LIST), QStringLiteral("Length")));
    ASSERT_TRUE(choose(page.DlgItem<CListBox>(IDC_UNIT_LIST), QStringLiteral("foot")));
    typeInto(page.GetDlgItem(IDC_CONVERSION_FACTOR), QStringLiteral("0.3"));
    EXPECT_EQ(runSheet([&] { clickOn(m_sheet->cancelButton()); }), IDCANCEL);
    EXPECT_TRUE(questions().isEmpty()) << "Cancel does not write the entry back";
    double factor = 0;
    ASSERT_EQ(m_engine.Unit_ConversionFactor(QStringLiteral("foot"), factor), S_OK);
    EXPECT_EQ(factor, 0.3048);

    openSheet(5);
    ASSERT_TRUE(choose(units().DlgItem<CListBox>(IDC_QUANTITY_LIST), QStringLiteral("Length")));
    ASSERT_TRUE(choose(units().DlgItem<CListBox>(IDC_UNIT_LIST), QStringLiteral("foot")));
    typeInto(units().GetDlgItem(IDC_CONVERSION_FACTOR), QStringLiteral("0.3"));
    m_boxes.answer(IDNO);
    EXPECT_EQ(runSheet([&] { clickOn(m_sheet->okButton()); }), IDOK);
    EXPECT_EQ(questions(), QStringList{kQuestion}) << m_boxes.texts().join(u'|').toStdString();
    ASSERT_EQ(m_engine.Unit_ConversionFactor(QStringLiteral("foot"), factor), S_OK);
    EXPECT_EQ(factor, 0.3);
}
