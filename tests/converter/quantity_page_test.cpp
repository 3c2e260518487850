// The Quantity Database page: the vector or the expression of a quantity, written back when
// another quantity is selected, when the expression box is left and when the page is left.
#include "converter_fixture.h"

#include <QLineEdit>

using namespace converter_test;

namespace {

class QuantityPage : public ConverterTest {
protected:
    void SetUp() override {
        ConverterTest::SetUp();
        openSheet(4);
    }
    CListBox* quantityList() { return quantities().DlgItem<CListBox>(IDC_QUANTITY_LIST); }
    QStringList exponents() {
        QStringList texts;
        for (int id : kDimensionEdits) texts << quantities().GetDlgItemText(id);
        return texts;
    }
    int enabledExponents() {
        int enabled = 0;
        for (int id : kDimensionEdits) enabled += quantities().GetDlgItem(id)->isEnabled() ? 1 : 0;
        return enabled;
    }
    std::vector<int> vector(const QString& quantity) {
        std::vector<int> v;
        EXPECT_EQ(m_engine.Quantity_DimVector(quantity, v), S_OK);
        return v;
    }
    QString expression(const QString& quantity) {
        QString text;
        EXPECT_EQ(m_engine.Quantity_Expression(quantity, text), S_OK);
        return text;
    }
};

const QStringList kVelocity{"0", "1", "-1", "0", "0", "0", "0", "0", "0", "0"};

}  // namespace

TEST_F(QuantityPage, SelectingAQuantityShowsItsVectorOrExpressionAndItsSynonyms) {
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Length")));
    EXPECT_EQ(exponents(), (QStringList{"0", "1", "0", "0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(entries(quantities().DlgItem<CListBox>(IDC_SYNONYM_LIST)), QStringList{"Distance"});
    EXPECT_EQ(enabledExponents(), 10);

    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Velocity")));
    EXPECT_EQ(quantities().GetDlgItemText(IDC_EXPRESSION), QStringLiteral("Length/Time"));
    EXPECT_EQ(exponents(), kVelocity);
    EXPECT_EQ(enabledExponents(), 0);
    EXPECT_EQ(quantities().DlgItem<CListBox>(IDC_SYNONYM_LIST)->GetCount(), 0);
    EXPECT_FALSE(m_engine.HasUnsavedChanges()) << "looking at entries changes nothing";
}

TEST_F(QuantityPage, TypingAnExpressionDisablesTheExponentsAndLeavingTheBoxShowsTheDerivedVector) {
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Mass")));
    QWidget* box = quantities().GetDlgItem(IDC_EXPRESSION);
    static_cast<QLineEdit*>(box)->setText(QStringLiteral("Length/Time"));
    EXPECT_EQ(enabledExponents(), 0) << "disabled at once, before the box is left";
    EXPECT_EQ(exponents()[0], QStringLiteral("1"));
    typeAndLeave(box, QStringLiteral("Length/Time"), quantityList());
    EXPECT_EQ(exponents(), kVelocity);
    EXPECT_EQ(expression(QStringLiteral("Mass")), QStringLiteral("Length/Time"));
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(QuantityPage, ClearingTheExpressionLetsTheTypedVectorBeSaved) {
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Velocity")));
    typeInto(quantities().GetDlgItem(IDC_EXPRESSION), QString());
    EXPECT_EQ(enabledExponents(), 10);
    typeInto(quantities().GetDlgItem(IDC_DIM_LENGTH), QStringLiteral("2"));
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Mass")));
    EXPECT_EQ(expression(QStringLiteral("Velocity")), QString());
    EXPECT_EQ(vector(QStringLiteral("Velocity")), (std::vector<int>{0, 2, -1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(m_engine.HasUnsavedChanges());
}

TEST_F(QuantityPage, TheShownQuantityIsWrittenBackWhenThePageIsLeft) {
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Mass")));
    typeInto(quantities().GetDlgItem(IDC_DIM_MONEY), QStringLiteral("-1"));
    ASSERT_TRUE(clickTab(5));
    EXPECT_EQ(vector(QStringLiteral("Mass")), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0, 0, -1}));

    // Coming back starts afresh, with nothing selected.
    ASSERT_TRUE(clickTab(4));
    EXPECT_EQ(quantityList()->GetCurSel(), LB_ERR);
    EXPECT_EQ(exponents(), QStringList(10, QStringLiteral("0")));
}

TEST_F(QuantityPage, AnExponentThatIsNotAnIntegerKeepsThePage) {
    ASSERT_TRUE(choose(quantityList(), QStringLiteral("Time")));
    typeInto(quantities().GetDlgItem(IDC_DIM_TIME), QStringLiteral("one"));
    EXPECT_FALSE(clickTab(5));
    EXPECT_EQ(m_sheet->GetActiveIndex(), 4);
    EXPECT_EQ(m_boxes.texts(), QStringList{"Please enter an integer."});
    EXPECT_EQ(vector(QStringLiteral("Time")), (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
}
