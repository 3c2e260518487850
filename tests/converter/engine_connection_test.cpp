// The program's connection to the engine object: text crosses the interface whole and comes
// back unchanged (outside ASCII too), and a query that fails leaves what the caller holds as it was.
#include "converter_fixture.h"

using namespace converter_test;

namespace {

class EngineConnection : public ConverterTest {
protected:
    void SetUp() override {
        ConverterTest::SetUp();
        ASSERT_EQ(m_engine.Initialize(databasePath()), S_OK);
    }
};

}  // namespace

TEST_F(EngineConnection, TextCrossesWholeSoTheEngineJudgesItNotACutCopy) {
    const QString fifty(50, u'q'), fiftyOne(51, u'q');
    EXPECT_EQ(m_engine.Quantity_Add(fifty), S_OK);
    EXPECT_NE(m_engine.Quantity_Add(fiftyOne), S_OK) << "51 characters are refused, not cut to 50";

    const QString umlauts = QStringLiteral("Länge°Ω");
    ASSERT_EQ(m_engine.Quantity_Add(umlauts), S_OK);
    ASSERT_EQ(m_engine.Quantity_Synonym_Add(umlauts, QStringLiteral("Weite\u00b5")), S_OK);
    QStringList synonyms;
    ASSERT_EQ(m_engine.Quantity_Synonym_Set(umlauts, synonyms), S_OK);
    EXPECT_EQ(synonyms, QStringList{QStringLiteral("Weite\u00b5")});
    ASSERT_EQ(m_engine.Unit_Add(QStringLiteral("sp\u00e4n"), umlauts), S_OK);
    ASSERT_EQ(m_engine.Unit_Symbol_Replace(QStringLiteral("sp\u00e4n"), QStringLiteral("\u00b5s\tx")), S_OK);
    QString symbol;
    ASSERT_EQ(m_engine.Unit_Symbol(QStringLiteral("sp\u00e4n"), symbol), S_OK);
    EXPECT_EQ(symbol, QStringLiteral("\u00b5s\tx"));
}

TEST_F(EngineConnection, AFailedQueryLeavesTheCallersValueAsItWas) {
    const QString none = QStringLiteral("nosuchthing");
    QString text = QStringLiteral("kept");
    EXPECT_NE(m_engine.Unit_Symbol(none, text), S_OK);
    EXPECT_NE(m_engine.Quantity_Expression(none, text), S_OK);
    EXPECT_NE(m_engine.UnitSystem_PrefUnit(none, QStringLiteral("Length"), text), S_OK);
    EXPECT_EQ(text, QStringLiteral("kept"));

    QStringList list{QStringLiteral("kept")};
    EXPECT_NE(m_engine.Unit_Synonym_Set(none, list), S_OK);
    EXPECT_NE(m_engine.Quantity_Unit_Set(none, list), S_OK);
    EXPECT_EQ(list, QStringList{QStringLiteral("kept")});

    std::vector<int> vector{7};
    EXPECT_NE(m_engine.Quantity_DimVector(none, vector), S_OK);
    EXPECT_EQ(vector, std::vector<int>{7});

    ASSERT_EQ(m_engine.Quantity_DimVector(QStringLiteral("Velocity"), vector), S_OK);
    EXPECT_EQ(vector, (std::vector<int>{0, 1, -1, 0, 0, 0, 0, 0, 0, 0})) << "a success replaces, not appends";
    ASSERT_EQ(m_engine.Unit_Synonym_Set(QStringLiteral("metre"), list), S_OK);
    EXPECT_EQ(list, (QStringList{QStringLiteral("m"), QStringLiteral("Meter")}));
}

TEST_F(EngineConnection, ExponentsCrossAsTheirLowSixteenBits) {
    MorvaneEngine::DimensionExponents exponents{};
    exponents[1] = 2;
    exponents[2] = 65536 - 3;  // -3 in 16 bits
    ASSERT_EQ(m_engine.Quantity_DimVector_Replace(QStringLiteral("Length"), exponents), S_OK);
    std::vector<int> vector;
    ASSERT_EQ(m_engine.Quantity_DimVector(QStringLiteral("Length"), vector), S_OK);
    EXPECT_EQ(vector, (std::vector<int>{0, 2, -3, 0, 0, 0, 0, 0, 0, 0}));
}
