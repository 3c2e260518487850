// The Unit Database page: exact factors and offsets that are written back only when changed, the
// expression that takes their place, and the unit list's edits.
#include "converter_fixture.h"

#include <cstring>

using namespace converter_test;

namespace {

class UnitPage : public ConverterTest {
protected:
    void SetUp() override {
        ConverterTest::SetUp();
        openSheet(5);
    }
    CListBox* quantityList() { return units().DlgItem<CListBox>(IDC_QUANTITY_LIST); }
    CListBox* unitList() { return units().DlgItem<CListBox>(IDC_UNIT_LIST); }
    void show(const QString& quantity, const QString& unit) {
        ASSERT_TRUE(choose(quantityList(), quantity));
        ASSERT_TRUE(choose(unitList(), unit));
    }
    double factor(const QString& unit) {
        double value = 0;
        EXPECT_EQ(m_engine.Unit_ConversionFactor(unit, value), S_OK);
        return value;
    }
    double offset(const QString& unit) {
        double value = 0;
        EXPECT_EQ(m_engine.Unit_ConversionOffset(unit, value), S_OK);
        return value;
    }
    bool valuesEnabled() {
        return units().GetDlgItem(IDC_CONVERSION_FACTOR)->isEnabled() &&
               units().GetDlgItem(IDC_CONVERSION_OFFSET)->isEnabled();
    }
};

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST_F(UnitPage, AUnitShowsItsFactorAndOffsetExactlyWithItsSymbolAndSynonyms) {
    show(QStringLiteral("Temperature"), QStringLiteral("degF"));
    EXPECT_EQ(entries(unitList()), (QStringList{"degF", "kelvin"}));
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_FACTOR), QStringLiteral("0.5555555555555556"));
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_OFFSET), QStringLiteral("255.37222222222223"));
    EXPECT_EQ(units().GetDlgItemText(IDC_SYMBOL), QStringLiteral("°F"));
    EXPECT_EQ(entries(units().DlgItem<CListBox>(IDC_SYNONYM_LIST)), QStringList{"fahrenheit"});
    EXPECT_TRUE(valuesEnabled());
}

TEST_F(UnitPage, ClickingThroughTheUnitsNeverRoundsTheirValues) {
    show(QStringLiteral("Temperature"), QStringLiteral("degF"));
    ASSERT_TRUE(choose(unitList(), QStringLiteral("kelvin")));
    ASSERT_TRUE(choose(unitList(), QStringLiteral("degF")));
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Length")));
    ASSERT_TRUE(clickTab(0));
    EXPECT_TRUE(sameBits(factor(QStringLiteral("degF")), 0.5555555555555556));
    EXPECT_TRUE(sameBits(offset(QStringLiteral("degF")), 255.37222222222223));
    EXPECT_FALSE(m_engine.HasUnsavedChanges());
}

TEST_F(UnitPage, AChangedValueIsWrittenBackAndTheOtherKeptExactly) {
    show(QStringLiteral("Temperature"), QStringLiteral("degF"));
    typeInto(units().GetDlgItem(IDC_CONVERSION_FACTOR), QStringLiteral("0.5"));
    ASSERT_TRUE(choose(unitList(), QStringLiteral("kelvin")));
    EXPECT_EQ(factor(QStringLiteral("degF")), 0.5);
    EXPECT_TRUE(sameBits(offset(QStringLiteral("degF")), 255.37222222222223));
    EXPECT_TRUE(m_engine.HasUnsavedChanges());
}

TEST_F(UnitPage, AnExpressionDisablesTheValuesAndLeavingItShowsWhatTheEngineDerived) {
    show(QStringLiteral("Velocity"), QStringLiteral("kmh"));
    EXPECT_EQ(units().GetDlgItemText(IDC_EXPRESSION), QStringLiteral("kilometre/hour"));
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_FACTOR), QStringLiteral("0.2777777777777778"));
    EXPECT_FALSE(valuesEnabled());

    show(QStringLiteral("Length"), QStringLiteral("foot"));
    EXPECT_TRUE(valuesEnabled());
    typeAndLeave(units().GetDlgItem(IDC_EXPRESSION), QStringLiteral("12*inchless"), unitList());
    EXPECT_FALSE(valuesEnabled());
    EXPECT_EQ(m_boxes.texts(), QStringList{"Unit Not Found"}) << "an expression the engine cannot evaluate";
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_FACTOR), QString());
    m_boxes.clear();
    typeAndLeave(units().GetDlgItem(IDC_EXPRESSION), QStringLiteral("3*kilometre"), unitList());
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_FACTOR), QStringLiteral("3000"));
    EXPECT_EQ(factor(QStringLiteral("foot")), 3000.0);
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(UnitPage, ClearingAnExpressionKeepsTheUnitsValuesAsFixedOnes) {
    show(QStringLiteral("Velocity"), QStringLiteral("kmh"));
    typeInto(units().GetDlgItem(IDC_EXPRESSION), QString());
    EXPECT_TRUE(valuesEnabled());
    ASSERT_TRUE(clickTab(6));
    QString expression;
    ASSERT_EQ(m_engine.Unit_Expression(QStringLiteral("kmh"), expression), S_OK);
    EXPECT_EQ(expression, QString());
    EXPECT_TRUE(sameBits(factor(QStringLiteral("kmh")), 1000.0 / 3600.0));
    EXPECT_TRUE(m_engine.HasUnsavedChanges());
}

TEST_F(UnitPage, UnitsAreAddedToTheSelectedQuantityAndRemovedWithTheNextOneShown) {
    chooseFromContextMenu(unitList(), QStringLiteral("Add"), QStringLiteral("league"));
    EXPECT_EQ(m_boxes.texts(), QStringList{"Quantity Not Found"}) << "no quantity is selected";
    EXPECT_EQ(unitList()->GetCount(), 0);
    m_boxes.clear();

    show(QStringLiteral("Length"), QStringLiteral("kilometre"));
    chooseFromContextMenu(unitList(), QStringLiteral("Add"), QStringLiteral("league"));
    EXPECT_EQ(entries(unitList()), (QStringList{"foot", "league", "kilometre", "metre"}));
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_FACTOR), QStringLiteral("0"));
    typeInto(units().GetDlgItem(IDC_CONVERSION_FACTOR), QStringLiteral("4828.032"));
    ASSERT_TRUE(choose(unitList(), QStringLiteral("kilometre")));
    EXPECT_EQ(factor(QStringLiteral("league")), 4828.032);

    chooseFromContextMenu(unitList(), QStringLiteral("Remove"));
    EXPECT_EQ(entries(unitList()), (QStringList{"foot", "league", "metre"}));
    EXPECT_EQ(selectedText(unitList()), QStringLiteral("metre"));
    EXPECT_EQ(entries(units().DlgItem<CListBox>(IDC_SYNONYM_LIST)), (QStringList{"m", "Meter"}));
    EXPECT_EQ(units().GetDlgItemText(IDC_SYMBOL), QStringLiteral("m"));
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(UnitPage, AFactorThatIsNotANumberKeepsThePage) {
    show(QStringLiteral("Length"), QStringLiteral("foot"));
    typeInto(units().GetDlgItem(IDC_CONVERSION_FACTOR), QStringLiteral("0,3048"));
    EXPECT_FALSE(clickTab(0));
    EXPECT_EQ(m_boxes.texts(), QStringList{"Please enter a number."});
    EXPECT_EQ(factor(QStringLiteral("foot")), 0.3048);
}

TEST_F(UnitPage, UnitsAndTheirSynonymsAreRenamedAddedAndRemovedThroughTheirLists) {
    show(QStringLiteral("Length"), QStringLiteral("kilometre"));
    chooseFromContextMenu(unitList(), QStringLiteral("Rename"), QStringLiteral("klick"));
    EXPECT_EQ(entries(unitList()), (QStringList{"foot", "klick", "metre"}));
    EXPECT_EQ(units().m_sSelectedUnit, QStringLiteral("klick"));
    double value = 0;
    EXPECT_EQ(m_engine.Unit_ConversionFactor(QStringLiteral("klick"), value), S_OK);
    EXPECT_EQ(value, 1000.0);

    CListBox* synonyms = units().DlgItem<CListBox>(IDC_SYNONYM_LIST);
    ASSERT_TRUE(choose(unitList(), QStringLiteral("metre")));
    ASSERT_TRUE(choose(synonyms, QStringLiteral("m")));
    chooseFromContextMenu(synonyms, QStringLiteral("Add"), QStringLiteral("metres"));
    EXPECT_EQ(entries(synonyms), (QStringList{"metres", "m", "Meter"}));
    chooseFromContextMenu(synonyms, QStringLiteral("Rename"), QStringLiteral("meters"));
    ASSERT_TRUE(choose(synonyms, QStringLiteral("Meter")));
    chooseFromContextMenu(synonyms, QStringLiteral("Remove"));
    EXPECT_EQ(entries(synonyms), (QStringList{"meters", "m"}));
    EXPECT_EQ(selectedText(synonyms), QStringLiteral("m"));
    QStringList stored;
    ASSERT_EQ(m_engine.Unit_Synonym_Set(QStringLiteral("metre"), stored), S_OK);
    EXPECT_EQ(stored, (QStringList{"m", "meters"}));
    EXPECT_TRUE(m_boxes.boxes().empty()) << m_boxes.texts().join(u'|').toStdString();
}

TEST_F(UnitPage, AnExpressionThatCannotBeEvaluatedSaysWhyAndShowsNoNumber) {
    show(QStringLiteral("Length"), QStringLiteral("foot"));
    typeAndLeave(units().GetDlgItem(IDC_EXPRESSION), QStringLiteral("2*kilometre"), unitList());
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_FACTOR), QStringLiteral("2000"));
    EXPECT_TRUE(m_boxes.boxes().empty());

    // A cycle: kilometre through foot, and foot through kilometre.
    ASSERT_TRUE(choose(unitList(), QStringLiteral("kilometre")));
    typeAndLeave(units().GetDlgItem(IDC_EXPRESSION), QStringLiteral("1000*foot"), unitList());
    EXPECT_EQ(m_boxes.texts(), QStringList{"Unit Database is Corrupt"});
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_FACTOR), QString());
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_OFFSET), QString());

    // Either unit of the cycle, shown again, shows no number either, and leaving the page keeps
    // the expressions as typed.
    m_boxes.clear();
    for (const char* unit : {"foot", "kilometre"}) {
        ASSERT_TRUE(choose(unitList(), QString::fromLatin1(unit)));
        EXPECT_FALSE(units().GetDlgItemText(IDC_CONVERSION_FACTOR).contains(QStringLiteral("99999999"))) << unit;
        EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_FACTOR), QString()) << unit;
    }
    ASSERT_TRUE(clickTab(0));
    QString expression;
    ASSERT_EQ(m_engine.Unit_Expression(QStringLiteral("kilometre"), expression), S_OK);
    EXPECT_EQ(expression, QStringLiteral("1000*foot"));

    // Breaking the cycle brings the numbers back.
    ASSERT_TRUE(clickTab(5));
    show(QStringLiteral("Length"), QStringLiteral("kilometre"));
    typeAndLeave(units().GetDlgItem(IDC_EXPRESSION), QStringLiteral("1000*metre"), unitList());
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_FACTOR), QStringLiteral("1000"));
    ASSERT_TRUE(choose(unitList(), QStringLiteral("foot")));
    EXPECT_EQ(units().GetDlgItemText(IDC_CONVERSION_FACTOR), QStringLiteral("2000"));
    EXPECT_TRUE(m_boxes.boxes().empty()) << m_boxes.texts().join(u'|').toStdString();
}
