#include <kestrum/ui/number_text.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <cmath>
#include <limits>

using namespace kestrum::ui;

TEST(NumberText, ReadsWholeDecimalNumbersOnly) {
    struct Row {
        const char16_t* text;
        bool valid;
        double value;
    };
    const Row rows[] = {
        {u"1.5", true, 1.5},      {u" \t2e3 ", true, 2000},  {u"+4", true, 4},       {u".5", true, 0.5},
        {u"-0.25", true, -0.25},  {u"1E-3", true, 0.001},    {u"", false, 0},        {u"   ", false, 0},
        {u"1,5", false, 0},       {u"0x10", false, 0},       {u"inf", false, 0},     {u"nan", false, 0},
        {u"1e999", false, 0},     {u"1.5abc", false, 0},     {u"1 2", false, 0},     {u"+-1", false, 0},
        {u"++1", false, 0},       {u"-", false, 0},          {u"\u0661", false, 0},  {u"1\u00a0", false, 0},
    };
    for (const Row& r : rows) {
        const std::optional<double> value = parseDouble(QString::fromUtf16(r.text));
        EXPECT_EQ(value.has_value(), r.valid) << QString::fromUtf16(r.text).toStdString();
        if (value && r.valid) {
            EXPECT_EQ(*value, r.value) << QString::fromUtf16(r.text).toStdString();
        }
    }
}

TEST(NumberText, ReadsIntegersInRangeOnly) {
    EXPECT_EQ(parseInt(u"12"), 12);
    EXPECT_EQ(parseInt(u" -7 "), -7);
    EXPECT_EQ(parseInt(u"+3"), 3);
    EXPECT_EQ(parseInt(u"2147483647"), 2147483647);
    EXPECT_EQ(parseInt(u"2147483648"), std::nullopt);
    EXPECT_EQ(parseInt(u"1.0"), std::nullopt);
    EXPECT_EQ(parseInt(u"1e2"), std::nullopt);
    EXPECT_EQ(parseInt(u""), std::nullopt);
}

TEST(NumberText, WritesFifteenSignificantDigitsLikeG) {
    struct Row {
        double value;
        const char* text;
    };
    const Row rows[] = {
        {0.1, "0.1"},          {1e20, "1e+20"},
        {1.0 / 3, "0.333333333333333"},
        {-3, "-3"},            {0.5555555555555556, "0.555555555555556"},
        {123456789012345678.0, "1.23456789012346e+17"},
        {0.0001, "0.0001"},    {0.00001, "1e-05"},
        {0, "0"},
    };
    for (const Row& r : rows) EXPECT_EQ(formatDouble(r.value).toStdString(), r.text);
}

TEST(NumberText, ShortestTextReadsBackToTheSameDouble) {
    const double values[] = {0.5555555555555556, 0.1, 1.0 / 3, 1e20, 0.3048, 1609.344, -2.5e-7, 5.0 / 9};
    for (double v : values) {
        const QString text = formatShortest(v);
        EXPECT_EQ(parseDouble(text), v) << text.toStdString();
        EXPECT_LE(formatShortest(v).size(), formatDouble(v, 17).size()) << text.toStdString();
    }
    EXPECT_EQ(formatShortest(0.5555555555555556).toStdString(), "0.5555555555555556");
    EXPECT_EQ(formatShortest(0.3048).toStdString(), "0.3048");
}

// A German locale of the test's own, compiled into a temporary LOCPATH: no root needed, and the
// test never depends on which locales the machine happens to have.
class GermanLocale {
public:
    GermanLocale() {
        if (!m_dir.isValid()) return;
        const QString target = m_dir.filePath(QStringLiteral("de_DE.UTF-8"));
        const int status = QProcess::execute(QStringLiteral("localedef"),
                                             {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                                              QStringLiteral("UTF-8"), target});
        if (status != 0) return;
        const QByteArray previous = qgetenv("LOCPATH");
        qputenv("LOCPATH", QFile::encodeName(m_dir.path()));
        const char* saved = std::setlocale(LC_NUMERIC, nullptr);
        m_saved = saved ? saved : "C";
        m_active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        if (previous.isNull()) qunsetenv("LOCPATH");
        else qputenv("LOCPATH", previous);
    }
    ~GermanLocale() {
        if (m_active) std::setlocale(LC_NUMERIC, m_saved.c_str());
    }
    bool active() const { return m_active; }

private:
    QTemporaryDir m_dir;
    std::string m_saved;
    bool m_active = false;
};

TEST(NumberText, IgnoresTheProcessLocale) {
    // Under a decimal-comma locale the C library would read "1.5" as 1; this code must not.
    const GermanLocale german;
    ASSERT_TRUE(german.active()) << "localedef could not build de_DE.UTF-8 (scripts/setup installs locales)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "the locale in force reads numbers with a comma";
    EXPECT_EQ(parseDouble(u"1.5"), 1.5);
    EXPECT_EQ(parseDouble(u"1,5"), std::nullopt);
    EXPECT_EQ(formatDouble(2.25).toStdString(), "2.25");
}
