#include "quantity_text.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <cfloat>

using namespace kestrum::editctl;

TEST(RoundValue, ExactHalvesGoDownAlsoBelowZero) {
    struct Row {
        double x;
        unsigned short decimals;
        double expected;
    } rows[] = {
        {1.2345, 3, 1.234},   {-1.2345, 3, -1.235}, {0.5, 0, 0.0},      {-0.5, 0, -1.0},
        {2.5, 0, 2.0},        {1.2346, 3, 1.235},   {1.2344, 3, 1.234}, {-1.2346, 3, -1.235},
        {-1.2344, 3, -1.234}, {50.1256, 3, 50.126}, {33.0, 3, 33.0},    {0.125, 2, 0.12},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RoundValue(row.x, row.decimals), row.expected) << row.x << " at " << row.decimals;
}

TEST(RoundValue, KeepsAtMostNineDecimalsAndLeavesHugeNumbersAlone) {
    EXPECT_EQ(RoundValue(0.1234567891234, 9), 0.123456789);
    EXPECT_EQ(RoundValue(0.1234567891234, 10), 0.123456789) << "the scale would overflow 32 bits";
    EXPECT_EQ(RoundValue(0.1234567891234, 65535), 0.123456789);
    EXPECT_EQ(RoundValue(DBL_MAX, 3), DBL_MAX);
    EXPECT_EQ(RoundValue(-1e300, 9), -1e300);
}

TEST(FixedDigits, HaveNoSignPointOrLeadingZeros) {
    const FixedDigits big = fixedDigits(1234567.891, 3);
    EXPECT_EQ(big.digits, "1234567891");
    EXPECT_EQ(big.decimalPoint, 7);
    EXPECT_FALSE(big.negative);
    const FixedDigits small = fixedDigits(-0.05, 3);
    EXPECT_EQ(small.digits, "50");
    EXPECT_EQ(small.decimalPoint, -1);
    EXPECT_TRUE(small.negative);
    const FixedDigits half = fixedDigits(0.5, 3);
    EXPECT_EQ(half.digits, "500");
    EXPECT_EQ(half.decimalPoint, 0);
    EXPECT_FALSE(fixedDigits(-0.0001, 3).negative) << "rounds to zero: no sign";
}

TEST(FormatNumber, GroupsThousandsAndLeadingZerosOfTheDecimals) {
    struct Row {
        double value;
        unsigned short decimals;
        bool grouped;
        const char* expected;
    } rows[] = {
        {1234567.891, 3, true, "1,234,567.891"},
        {1234567.891, 3, false, "1234567.891"},
        {-1234.5, 2, true, "-1,234.50"},
        {123.0, 2, true, "123.00"},
        {1000.0, 1, true, "1,000.0"},
        {999.0, 1, true, "999.0"},
        {-0.05, 3, true, "-0.050"},
        {0.5, 3, true, ".500"},
        {0.0, 3, true, ".000"},
        {0.0001, 4, true, "0.000,1"},
        {0.0001, 4, false, "0.0001"},
        {0.001, 4, true, "0.0010"},
        {0.0000001, 9, true, "0.000,000,100"},
        {200.0, 2, true, "200.00"},
        {50.126, 3, true, "50.126"},
        {1234.0, 0, true, "1,234"},
        {0.0, 0, true, "0"},
        {1e20, 3, true, "100,000,000,000,000,000,000.000"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(formatNumber(row.value, row.decimals, row.grouped).toStdString(), row.expected)
            << row.value << " at " << row.decimals << (row.grouped ? " grouped" : " plain");
}

TEST(FormatNumber, ShowsTheSymbolAfterOrBeforeTheNumber) {
    EXPECT_EQ(decorate(QStringLiteral("1,234,567.891"), QStringLiteral("ft"), true), QStringLiteral("1,234,567.891 ft"));
    EXPECT_EQ(decorate(QStringLiteral("1,234,567.891"), QStringLiteral("ft"), false), QStringLiteral("ft 1,234,567.891"));
    EXPECT_EQ(decorate(QStringLiteral("200.00"), QString(), true), QStringLiteral("200.00 "))
        << "a missing symbol leaves a lone space";
}

TEST(ParseLeadingNumber, ReadsAsFarAsTheTextFormsANumber) {
    struct Row {
        const char16_t* text;
        double expected;
    } rows[] = {
        {u"1234.5", 1234.5},   {u"1,234.500 ft", 1.0}, {u"ft 12", 0.0},      {u"-", 0.0},
        {u".", 0.0},           {u"", 0.0},             {u"  -12.5e1x", -125.0}, {u"12\t3", 12.0},
        {u".5", 0.5},          {u"5.", 5.0},           {u"--5", 0.0},        {u"+7", 7.0},
        {u"1e", 1.0},          {u"1e+", 1.0},          {u"2E-2", 0.02},      {u"0x1A", 0.0},
        {u"inf", 0.0},         {u"nan", 0.0},          {u"\u00e95", 0.0},    {u"1.2.3", 1.2},
        {u"-0.050", -0.05},    {u"\n 3", 3.0},
    };
    for (const Row& row : rows) {
        const QString text = QString::fromUtf16(row.text);
        EXPECT_EQ(parseLeadingNumber(text), row.expected) << text.toStdString();
    }
}

TEST(ParseLeadingNumber, NumbersBeyondADoubleGiveItsLimits) {
    const QString huge = QStringLiteral("1") + QString(400, u'0');
    EXPECT_EQ(parseLeadingNumber(huge), DBL_MAX);
    EXPECT_EQ(parseLeadingNumber(u'-' + huge), -DBL_MAX);
    EXPECT_EQ(parseLeadingNumber(QStringLiteral("1e400")), DBL_MAX);
    EXPECT_EQ(parseLeadingNumber(QStringLiteral("0.") + QString(400, u'0') + u'1'), 0.0);
    EXPECT_EQ(parseLeadingNumber(QStringLiteral("1e-400")), 0.0);
    EXPECT_EQ(parseLeadingNumber(QStringLiteral("0.001e400")), DBL_MAX);
}

TEST(QuantityText, IgnoresTheDefaultLocale) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(parseLeadingNumber(QStringLiteral("1.5")), 1.5);
    EXPECT_EQ(formatNumber(1234.5, 2, true), QStringLiteral("1,234.50"));
    EXPECT_EQ(formatNumber(1234.5, 2, false), QStringLiteral("1234.50"));
    QLocale::setDefault(previous);
}

TEST(PlainPosition, SkipsTheGroupingCommasAndTheSymbol) {
    struct Row {
        const char* decorated;
        const char* grouped;
        int numberStart;
        int position;
        int expected;
    } rows[] = {
        {"1,234,567.891 ft", "1,234,567.891", 0, 0, 0},
        {"1,234,567.891 ft", "1,234,567.891", 0, 1, 1},   // before the first comma
        {"1,234,567.891 ft", "1,234,567.891", 0, 2, 1},   // after it: the same place
        {"1,234,567.891 ft", "1,234,567.891", 0, 9, 7},   // before the point
        {"1,234,567.891 ft", "1,234,567.891", 0, 13, 11}, // the end of the number
        {"1,234,567.891 ft", "1,234,567.891", 0, 14, 11}, // the space and the symbol
        {"1,234,567.891 ft", "1,234,567.891", 0, 16, 11},
        {"ft 1,234.500", "1,234.500", 3, 0, 0},           // a symbol in front
        {"ft 1,234.500", "1,234.500", 3, 3, 0},
        {"ft 1,234.500", "1,234.500", 3, 6, 2},
        {"ft 1,234.500", "1,234.500", 3, 12, 8},
        {"0.000,1 ft", "0.000,1", 0, 6, 5},               // commas among the decimals
        {"0.000,1 ft", "0.000,1", 0, 7, 6},
    };
    for (const Row& row : rows) {
        const QString grouped = QString::fromLatin1(row.grouped);
        ASSERT_TRUE(QString::fromLatin1(row.decorated).mid(row.numberStart).startsWith(grouped)) << row.decorated;
        EXPECT_EQ(plainPosition(grouped, row.numberStart, row.position), row.expected) << row.decorated << " at " << row.position;
    }
}
