// The three conversion pages: By Quantity, By UnitSystem and By Expression, and the About box
// that By Expression puts on the window menu.
#include "converter_fixture.h"

#include <kestrum/ui/menu.h>

#include <QAbstractButton>
#include <QDialog>
#include <QFile>

using namespace converter_test;

namespace {

class ConversionPages : public ConverterTest {
protected:
    CListBox* list(kestrum::ui::DialogItems& page, int nID) { return page.DlgItem<CListBox>(nID); }
    QString result(kestrum::ui::DialogItems& page) {
        return page.GetDlgItemText(IDC_MULTIPLY_BY) + u' ' + page.GetDlgItemText(IDC_ADD);
    }
    void convert(const QString& from, const QString& to) {
        typeInto(byExpression().GetDlgItem(IDC_FROM_EXPRESSION), from);
        typeInto(byExpression().GetDlgItem(IDC_TO_EXPRESSION), to);
        clickOn(byExpression().DlgItem<QAbstractButton>(IDC_CONVERT));
    }
};

}  // namespace

TEST_F(ConversionPages, ByQuantityListsUnitsWithSynonymsAndConvertsOnceBothSidesAreChosen) {
    openSheet(1);
    ASSERT_TRUE(choose(list(byQuantity(), IDC_QUANTITY_LIST), QStringLiteral("Length")));
    const QStringList lengths{"foot", "ft", "kilometre", "km", "m", "Meter", "metre"};
    EXPECT_EQ(entries(list(byQuantity(), IDC_FROM_UNIT_LIST)), lengths);
    EXPECT_EQ(entries(list(byQuantity(), IDC_TO_UNIT_LIST)), lengths);

    ASSERT_TRUE(choose(list(byQuantity(), IDC_FROM_UNIT_LIST), QStringLiteral("kilometre")));
    EXPECT_EQ(result(byQuantity()), QStringLiteral("0 0")) << "one side alone converts nothing";
    ASSERT_TRUE(choose(list(byQuantity(), IDC_TO_UNIT_LIST), QStringLiteral("kilometre")));
    EXPECT_EQ(result(byQuantity()), QStringLiteral("1 0"));
    ASSERT_TRUE(choose(list(byQuantity(), IDC_TO_UNIT_LIST), QStringLiteral("ft")));
    EXPECT_EQ(result(byQuantity()), QStringLiteral("3280.83989501312 0"));

    ASSERT_TRUE(choose(list(byQuantity(), IDC_QUANTITY_LIST), QStringLiteral("Temperature")));
    EXPECT_EQ(entries(list(byQuantity(), IDC_FROM_UNIT_LIST)), (QStringList{"degF", "fahrenheit", "kelvin"}));
    ASSERT_TRUE(choose(list(byQuantity(), IDC_FROM_UNIT_LIST), QStringLiteral("fahrenheit")));
    ASSERT_TRUE(choose(list(byQuantity(), IDC_TO_UNIT_LIST), QStringLiteral("kelvin")));
    EXPECT_EQ(result(byQuantity()), QStringLiteral("0.555555555555556 255.372222222222"));
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(ConversionPages, ByQuantityKeepsTheQuantitiesItFirstShowedAfterAnotherFileIsRead) {
    openSheet(1);
    ASSERT_TRUE(clickTab(0));
    const QString angle = m_dir.filePath(QStringLiteral("angle.xml"));
    writeFile(angle, kAngleDatabase);
    ASSERT_EQ(m_engine.ReadUnitDatabase(angle, OVERWRITE), S_OK);
    ASSERT_TRUE(clickTab(1));
    EXPECT_EQ(entries(list(byQuantity(), IDC_QUANTITY_LIST)).size(), 5);
}

TEST_F(ConversionPages, ByUnitSystemShowsEachSidesSymbolAndConvertsBetweenPreferredUnits) {
    openSheet(2);
    EXPECT_EQ(entries(list(byUnitSystem(), IDC_FROM_SYSTEM_LIST)), (QStringList{"English", "SI"}));
    ASSERT_TRUE(choose(list(byUnitSystem(), IDC_QUANTITY_LIST), QStringLiteral("Velocity")));
    EXPECT_EQ(byUnitSystem().GetDlgItemText(IDC_FROM_SYMBOL), QString());
    ASSERT_TRUE(choose(list(byUnitSystem(), IDC_FROM_SYSTEM_LIST), QStringLiteral("SI")));
    EXPECT_EQ(byUnitSystem().GetDlgItemText(IDC_FROM_SYMBOL), QStringLiteral("m/s"));
    EXPECT_EQ(byUnitSystem().GetDlgItemText(IDC_TO_SYMBOL), QString());
    EXPECT_EQ(result(byUnitSystem()), QStringLiteral("0 0"));

    ASSERT_TRUE(choose(list(byUnitSystem(), IDC_TO_SYSTEM_LIST), QStringLiteral("English")));
    EXPECT_EQ(byUnitSystem().GetDlgItemText(IDC_TO_SYMBOL), QStringLiteral("ft/h"));
    EXPECT_EQ(result(byUnitSystem()), QStringLiteral("11811.0236220472 0"));

    ASSERT_TRUE(choose(list(byUnitSystem(), IDC_QUANTITY_LIST), QStringLiteral("Temperature")));
    EXPECT_EQ(byUnitSystem().GetDlgItemText(IDC_FROM_SYMBOL), QStringLiteral("K"));
    EXPECT_EQ(byUnitSystem().GetDlgItemText(IDC_TO_SYMBOL), QStringLiteral("°F"));
    EXPECT_EQ(result(byUnitSystem()), QStringLiteral("1.8 -459.67"));
    EXPECT_TRUE(m_boxes.boxes().empty()) << m_boxes.texts().join(u'|').toStdString();
}

TEST_F(ConversionPages, ByUnitSystemShowsTheEngineMessageWhenASystemHasNoUnitForAQuantity) {
    openSheet(2);
    ASSERT_TRUE(choose(list(byUnitSystem(), IDC_QUANTITY_LIST), QStringLiteral("Mass")));
    ASSERT_TRUE(choose(list(byUnitSystem(), IDC_FROM_SYSTEM_LIST), QStringLiteral("English")));
    EXPECT_EQ(m_boxes.texts(),
              QStringList{"The preferred unit for a basic quantity was not found in the given unit system"});
    EXPECT_EQ(byUnitSystem().GetDlgItemText(IDC_FROM_SYMBOL), QString());
}

TEST_F(ConversionPages, ByExpressionRefusesDifferentDimensionsOnlyWithDimensionalAnalysis) {
    openSheet(3);
    convert(QStringLiteral("km/h"), QStringLiteral("m/s"));
    EXPECT_EQ(result(byExpression()), QStringLiteral("0.277777777777778 0"));
    convert(QStringLiteral("m"), QStringLiteral("s"));
    EXPECT_EQ(result(byExpression()), QStringLiteral("1 0"));
    EXPECT_TRUE(m_boxes.boxes().empty());

    clickOn(byExpression().DlgItem<QAbstractButton>(IDC_DIMENSIONAL_ANALYSIS));
    convert(QStringLiteral("m"), QStringLiteral("s"));
    EXPECT_EQ(m_boxes.texts(), QStringList{"Dimensional Analysis of the Two Units is Different"});
    EXPECT_EQ(result(byExpression()), QStringLiteral("1 0")) << "the engine left the outputs as they were";
    m_boxes.clear();
    convert(QStringLiteral("degF"), QStringLiteral("kelvin"));
    EXPECT_EQ(result(byExpression()), QStringLiteral("0.555555555555556 255.372222222222"));

    clickOn(byExpression().DlgItem<QAbstractButton>(IDC_DIMENSIONAL_ANALYSIS));
    convert(QStringLiteral("m"), QStringLiteral("s"));
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(ConversionPages, ByExpressionPassesLongExpressionsWholeToTheEngine) {
    openSheet(3);
    clickOn(byExpression().DlgItem<QAbstractButton>(IDC_DIMENSIONAL_ANALYSIS));
    // m*m/m*m/m...: a metre in 301 characters. Cut at 259 characters it would be a square metre.
    QString metre = QStringLiteral("m");
    while (metre.size() < 300) metre += QStringLiteral("*m/m");
    convert(metre, QStringLiteral("foot"));
    EXPECT_TRUE(m_boxes.boxes().empty()) << m_boxes.texts().join(u'|').toStdString();
    EXPECT_EQ(result(byExpression()), QStringLiteral("3.28083989501312 0"));
    // Past the engine's limit of 500 characters the engine itself refuses it.
    while (metre.size() <= 500) metre += QStringLiteral("*m/m");
    convert(metre, QStringLiteral("foot"));
    EXPECT_EQ(m_boxes.texts(), QStringList{"An Input Expression is Invalid"});
}

TEST_F(ConversionPages, DimensionalAnalysisNeedsADatabaseAndTheBoxShowsWhatTheEngineDoes) {
    const QString saved = m_dir.filePath(QStringLiteral("saved.xml"));
    ASSERT_TRUE(QFile::rename(databasePath(), saved));
    openSheet(3);
    m_boxes.clear();
    auto* box = byExpression().DlgItem<QAbstractButton>(IDC_DIMENSIONAL_ANALYSIS);
    clickOn(box);
    EXPECT_EQ(m_boxes.texts(), QStringList{"Initialize the Unit System First"});
    EXPECT_EQ(byExpression().IsDlgButtonChecked(IDC_DIMENSIONAL_ANALYSIS), BST_UNCHECKED)
        << "the engine refused: a ticked box would promise a check that is not made";

    // The database read later: the box still says what conversions do.
    ASSERT_TRUE(clickTab(0));
    typeInto(fileTab().GetDlgItem(IDC_FILE_NAME), saved);
    clickOn(fileTab().DlgItem<QAbstractButton>(IDC_FILE_OPEN));
    ASSERT_TRUE(clickTab(3));
    m_boxes.clear();
    EXPECT_EQ(byExpression().IsDlgButtonChecked(IDC_DIMENSIONAL_ANALYSIS), BST_UNCHECKED);
    convert(QStringLiteral("m"), QStringLiteral("s"));
    EXPECT_TRUE(m_boxes.boxes().empty()) << "unticked: m converts to s";

    // Ticked now, it stays ticked and in force across another read.
    clickOn(box);
    EXPECT_EQ(byExpression().IsDlgButtonChecked(IDC_DIMENSIONAL_ANALYSIS), BST_CHECKED);
    ASSERT_TRUE(clickTab(0));
    clickOn(fileTab().DlgItem<QAbstractButton>(IDC_FILE_OPEN));
    ASSERT_TRUE(clickTab(3));
    m_boxes.clear();
    EXPECT_EQ(byExpression().IsDlgButtonChecked(IDC_DIMENSIONAL_ANALYSIS), BST_CHECKED);
    convert(QStringLiteral("m"), QStringLiteral("s"));
    EXPECT_EQ(m_boxes.texts(), QStringList{"Dimensional Analysis of the Two Units is Different"});
}

TEST_F(ConversionPages, TheSymbolButtonRendersAnExpressionOrEmptiesTheSymbol) {
    openSheet(3);
    typeInto(byExpression().GetDlgItem(IDC_UNIT_EXPRESSION), QStringLiteral("kg*m/s^2"));
    clickOn(byExpression().DlgItem<QAbstractButton>(IDC_SYMBOL_BUTTON));
    EXPECT_EQ(byExpression().GetDlgItemText(IDC_SYMBOL_RESULT), QStringLiteral("kg.m/s²"));
    typeInto(byExpression().GetDlgItem(IDC_UNIT_EXPRESSION), QStringLiteral("m^0"));
    clickOn(byExpression().DlgItem<QAbstractButton>(IDC_SYMBOL_BUTTON));
    EXPECT_EQ(m_boxes.texts(), QStringList{"An Input Expression is Invalid"});
    EXPECT_EQ(byExpression().GetDlgItemText(IDC_SYMBOL_RESULT), QString());
}

TEST_F(ConversionPages, TheWindowMenuOpensTheAboutBoxOnceByExpressionWasShown) {
    openSheet();
    CMenu* menu = m_sheet->GetSystemMenu(false);
    EXPECT_EQ(menu->GetMenuItemCount(), 1);
    ASSERT_TRUE(clickTab(3));
    ASSERT_TRUE(clickTab(0));
    ASSERT_EQ(menu->GetMenuItemCount(), 3);
    EXPECT_EQ(menu->GetMenuItemID(1), 0) << "a separator";
    EXPECT_EQ(menu->GetMenuString(int(IDM_ABOUTBOX), MF_BYCOMMAND), QStringLiteral("&About Morvane..."));

    QStringList opened;
    kestrum::test::ModalDriver modals;
    for (int i = 0; i < 2; ++i) {
        modals.next([&](QWidget* window) {
            opened << window->windowTitle();
            static_cast<QDialog*>(window)->accept();
        });
    }
    SendMessage(m_sheet.get(), WM_SYSCOMMAND, IDM_ABOUTBOX);
    SendMessage(m_sheet.get(), WM_SYSCOMMAND, IDM_ABOUTBOX | 0xF);  // the low four bits are ignored
    EXPECT_EQ(opened, (QStringList{"About Morvane", "About Morvane"}));
}
