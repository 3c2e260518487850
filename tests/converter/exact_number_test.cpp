// The unit page's number boxes: exact text for every double, and an edit only when the text
// changed, whatever the process locale.
#include "exact_number.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <cstring>

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(ExactNumber, ShowsTheShortestTextThatReadsBackToTheSameDouble) {
    const struct {
        double value;
        const char* text;
    } rows[] = {{0.5555555555555556, "0.5555555555555556"},
                {255.37222222222223, "255.37222222222223"},
                {0.1, "0.1"},
                {1.0 / 3.0, "0.3333333333333333"},
                {0, "0"},
                {-3, "-3"},
                {1e21, "1e+21"},
                {-99999999.0, "-99999999"}};
    for (const auto& row : rows) {
        ExactNumber number;
        number.Set(row.value);
        EXPECT_EQ(number.Text(), QString::fromLatin1(row.text)) << row.text;
        EXPECT_FALSE(number.IsEdited());
    }
}

TEST(ExactNumber, TheTextShownGivesBackTheExactValueAndOnlyOtherTextIsAnEdit) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ExactNumber number;
    number.Set(0.5555555555555556);
    ASSERT_TRUE(number.Take(QStringLiteral("0.5555555555555556")));
    EXPECT_FALSE(number.IsEdited());
    EXPECT_TRUE(sameBits(number.Value(), 0.5555555555555556));

    ASSERT_TRUE(number.Take(QStringLiteral("0.555555555555556")));  // what 15 digits would show
    EXPECT_TRUE(number.IsEdited());
    EXPECT_TRUE(sameBits(number.Value(), 0.555555555555556));

    ASSERT_TRUE(number.Take(QStringLiteral("0.5555555555555556")));  // typed back as it was
    EXPECT_FALSE(number.IsEdited());
    EXPECT_TRUE(sameBits(number.Value(), 0.5555555555555556));

    ASSERT_TRUE(number.Take(QStringLiteral(" 2.5 ")));
    EXPECT_EQ(number.Value(), 2.5);
    for (const char* refused : {"2,5", "abc", "", "0x10", "inf", "nan", "1.5.5"}) {
        EXPECT_FALSE(number.Take(QString::fromLatin1(refused))) << refused;
        EXPECT_EQ(number.Value(), 2.5) << refused;
    }
    QLocale::setDefault(saved);
}
