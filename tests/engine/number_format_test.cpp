// The file's number notation and the engine's reading of numbers, which must be exact inverses
// of each other for every double, whatever the process locale.
#include "number_format.h"
#include "text.h"
#include "test_support.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace kestrum {
namespace {

TEST(NumberFormat, TheFileNotationTable) {
    struct Row {
        double value;
        const char* text;
    };
    const Row rows[] = {
        {1, "1."},
        {0.5, "0.5"},
        {1609.344, "1609.344"},
        {0.0254, "2.54e-002"},
        {100000000, "1.e+008"},
        {-99999999, "-99999999"},  // the sentinel as a failed query writes it
        {0, "0."},
        {99999999, "99999999"},    // p = 8: fixed, no decimal point
        {0.1, "0.1"},              // p = 0
        {0.099, "9.9e-002"},       // p = -1
        {-2.5e-10, "-2.5e-010"},
        {1e100, "1.e+100"},
        {1e-100, "1.e-100"},
        {1.5e300, "1.5e+300"},
        {99999999.5, "99999999.5"},  // nine digits needed: rounding to eight would give 1.e+008
    };
    for (const auto& row : rows) EXPECT_EQ(formatDatabaseNumber(row.value), row.text) << row.value;
}

TEST(NumberFormat, EveryDoubleReadsBackExactly) {
    std::mt19937_64 random(20240501);
    std::uniform_int_distribution<std::uint64_t> bits;
    int checked = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t pattern = bits(random);
        double value;
        std::memcpy(&value, &pattern, sizeof value);
        if (!std::isfinite(value)) continue;
        const std::string text = formatDatabaseNumber(value);
        ASSERT_EQ(readLeadingNumber(text), value) << text;
        ++checked;
    }
    EXPECT_GT(checked, 19000);
    for (double value : {DBL_MAX, -DBL_MAX, DBL_MIN, DBL_TRUE_MIN, -DBL_TRUE_MIN, 1.0 / 3, 2.0 / 3, 1.0 / 3600,
                         0.1 + 0.2, 1055.05585262, 6.02214076e23, 9.999999999999999e22}) {
        const std::string text = formatDatabaseNumber(value);
        EXPECT_EQ(readLeadingNumber(text), value) << text;
        EXPECT_LE(text.size(), 25u) << text;
    }
}

TEST(NumberReading, TakesTheLeadingDecimalNumberOnly) {
    struct Row {
        const char* text;
        double value;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Row rows[] = {
        {"1.5e3xyz", 1500}, {"  -2.5", -2.5}, {"\t+7", 7},     {".5", 0.5},      {"5.", 5},
        {"-.5e1", -5},      {"1e", 1},        {"1e+", 1},      {"1E2", 100},     {"2.54e-002", 0.0254},
        {"0x1A", 0},        {"inf", 0},       {"nan", 0},      {"", 0},          {"+", 0},
        {".", 0},           {"-", 0},         {"e5", 0},       {"1,5", 1},       {"1e400", inf},
        {"-1e400", -inf},   {"1e-400", 0},    {"0.000000000000000000000000000000000000001e39", 1},
        {"100000000000000000000000000000000000000000000000000", 1e50},
    };
    for (const auto& row : rows) EXPECT_EQ(readLeadingNumber(row.text), row.value) << row.text;
}

}  // namespace
}  // namespace kestrum
