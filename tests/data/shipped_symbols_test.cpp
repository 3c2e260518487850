// What a user types or pastes into the shipped database: every unit's own symbol, typed back,
// is that unit or names nothing; pasted symbols resolve; abbreviations that fold onto two units
// name neither; and temperatures come out as the round numbers people expect.
#include "data_test_support.h"

#include <charconv>
#include <cmath>

namespace kestrum::datatest {
namespace {

using ShippedSymbols = ShippedDatabase;

// The whole rule, over every unit: a symbol that evaluates is its unit (same dimensions, factor
// 1, no offset); any other symbol is refused (not found, or not an expression at all).
TEST_F(ShippedSymbols, EveryUnitsSymbolTypedBackIsThatUnitOrNothing) {
    ASSERT_EQ(engine.EnableDimensionalAnalysis(true), S_OK);
    std::vector<std::string> units;
    ASSERT_EQ(engine.Unit_Set(units), S_OK);
    ASSERT_EQ(units.size(), 707u);
    std::size_t resolved = 0;
    for (const auto& unit : units) {
        std::string symbol;
        ASSERT_EQ(engine.UnitExpression_Symbol(unit, symbol), S_OK) << unit;
        double add = -1, multiplyBy = -1;
        const Result rc = engine.UnitExpression_Convert(symbol, unit, add, multiplyBy);
        if (rc == E_UNIT_NOT_FOUND || rc == E_INVALID_EXPRESSION) continue;
        ASSERT_EQ(rc, S_OK) << unit << ": its symbol " << symbol << " names a unit of other dimensions";
        EXPECT_LE(ulpDistance(multiplyBy, 1.0), 4u) << unit << ": its symbol " << symbol << " is another unit";
        EXPECT_EQ(add, 0.0) << unit << ": its symbol " << symbol << " has another offset";
        ++resolved;
    }
    EXPECT_GE(resolved, 400u);
}

TEST_F(ShippedSymbols, PastedSymbolsResolveToTheirUnits) {
    const std::string micro = "\xC2\xB5", mu = "\xCE\xBC";
    std::vector<std::pair<std::string, std::string>> rows = {
        {"\xC2\xB0" "C", "degree_celsius"},   {"\xC2\xB0" "F", "degree_fahrenheit"},
        {"\xC2\xB0" "R", "degree_rankine"},   {"\xCE\x94\xC2\xB0" "C", "delta_celsius"},
        {"\xCE\x94\xC2\xB0" "F", "delta_fahrenheit"},
        {"\xCE\xA9", "ohm"},                  {"\xE2\x84\xA6", "ohm"},  // Greek capital omega, ohm sign
        {"k\xCE\xA9", "kilohm"},              {"k\xE2\x84\xA6", "kilohm"},
        {micro + "\xCE\xA9", "microohm"},     {mu + "\xCE\xA9", "microohm"},
        {"\xC3\x85", "angstrom"},             {"\xE2\x84\xAB", "angstrom"},  // A with ring, angstrom sign
        {"%", "percent"},                     {"\xE2\x80\xB0", "permille"},
        {"\xC2\xB0", "degree"},               {"km/h", "kilometre_per_hour"},
        {"\xC2\xB0" "/s", "degree_per_second"},
    };
    const std::pair<const char*, const char*> microUnits[] = {
        {"m", "micrometre"},   {"in", "microinch"},  {"L", "microlitre"},    {"g", "microgram"},
        {"s", "microsecond"},  {"A", "microampere"}, {"mol", "micromole"},   {"rad", "microradian"},
        {"Ci", "microcurie"},  {"W", "microwatt"},   {"C", "microcoulomb"},  {"V", "microvolt"},
        {"F", "microfarad"},   {"H", "microhenry"},  {"T", "microtesla"},    {"Gy", "microgray"},
        {"Sv", "microsievert"}, {"D", "microdarcy"}, {"sip", "microsip"},
    };
    for (const auto& [symbol, unit] : microUnits) {
        rows.push_back({micro + symbol, unit});
        rows.push_back({mu + symbol, unit});
    }
    for (const auto& [text, unit] : rows) {
        double add = -1, multiplyBy = -1;
        ASSERT_EQ(engine.UnitExpression_Convert(text, unit, add, multiplyBy), S_OK) << text;
        EXPECT_EQ(multiplyBy, 1.0) << text;
        EXPECT_EQ(add, 0.0) << text;
    }
}

// Names fold case, so an abbreviation can stand for one unit only. Where two units' symbols
// fold together, either one common unit keeps it or neither has it (data/README.md).
TEST_F(ShippedSymbols, AbbreviationsThatFoldTogetherNameOneUnitOrNone) {
    for (const char* neither : {"mW", "MW", "mPa", "MPa", "mJ", "MJ", "mN", "MN", "meV", "MeV", "mV", "MV",
                                "m\xCE\xA9", "M\xCE\xA9", "t", "T", "u", "U", "st", "St", "pc", "pC"}) {
        std::string quantity;
        EXPECT_EQ(engine.Unit_Quantity(neither, quantity), E_UNIT_NOT_FOUND) << neither << " names " << quantity;
    }
    const std::pair<const char*, const char*> kept[] = {
        {"h", "hour"},          {"H", "hour"},      {"s", "second"},       {"g", "gram"},    {"d", "day"},
        {"rad", "radian"},      {"A", "ampere"},    {"C", "coulomb"},      {"gal", "gallon"}, {"kN", "kilonewton"},
        {"kt", "knot"},         {"ms", "millisecond"}, {"\xC2\xB5s", "microsecond"}, {"Gs", "gauss"},
    };
    for (const auto& [abbreviation, unit] : kept) {
        double add = -1, multiplyBy = -1;
        ASSERT_EQ(engine.UnitExpression_Convert(abbreviation, unit, add, multiplyBy), S_OK) << abbreviation;
        EXPECT_EQ(multiplyBy, 1.0) << abbreviation;
    }
}

std::string fifteenDigits(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

// Whether x lies within one unit in the last place of p/q (both positive), in exact integers.
bool withinOneUlp(double x, std::int64_t p, std::int64_t q) {
    int exponent = 0;
    const double fraction = std::frexp(x, &exponent);  // x = fraction * 2^exponent
    const auto mantissa = static_cast<__int128>(std::ldexp(fraction, 53));  // x = mantissa * 2^(exponent-53)
    const int shift = 53 - exponent;  // x = mantissa / 2^shift, one ulp = 1 / 2^shift
    const __int128 distance = mantissa * q - (static_cast<__int128>(p) << shift);
    return (distance < 0 ? -distance : distance) < q;
}

// The offsets are the doubles, within one ulp of the exact definitions, that make these
// conversions print as the round numbers they are.
TEST_F(ShippedSymbols, TemperaturesComeOutRound) {
    double offset = 0, factor = 0;
    ASSERT_EQ(engine.Unit_ConversionOffset("degC", offset), S_OK);
    EXPECT_TRUE(withinOneUlp(offset, 27315, 100)) << offset;
    ASSERT_EQ(engine.Unit_ConversionOffset("degF", offset), S_OK);
    EXPECT_TRUE(withinOneUlp(offset, 45967, 180)) << offset;
    for (const char* unit : {"degF", "degR", "delta_degF"}) {
        ASSERT_EQ(engine.Unit_ConversionFactor(unit, factor), S_OK);
        EXPECT_TRUE(withinOneUlp(factor, 5, 9)) << unit;
    }
    struct Row {
        double value;
        const char* from;
        const char* to;
        const char* shown;
    };
    const Row rows[] = {
        {0, "degC", "degF", "32"},      {100, "degC", "degF", "212"}, {-40, "degC", "degF", "-40"},
        {37, "degC", "degF", "98.6"},   {212, "degF", "degC", "100"}, {98.6, "degF", "degC", "37"},
        {0, "K", "degC", "-273.15"},    {20, "degC", "K", "293.15"},  {-40, "degF", "degC", "-40"},
        {0, "degF", "degR", "459.67"},  {0, "K", "degF", "-459.67"},
    };
    for (const auto& row : rows) {
        double add = 0, multiplyBy = 0;
        ASSERT_EQ(engine.UnitExpression_Convert(row.from, row.to, add, multiplyBy), S_OK);
        EXPECT_EQ(fifteenDigits(row.value * multiplyBy + add), row.shown) << row.value << " " << row.from << " in " << row.to;
    }
    // The converter's pages show the pair itself.
    const std::tuple<const char*, const char*, const char*, const char*> pairs[] = {
        {"degC", "degF", "1.8", "32"},
        {"degF", "degC", "0.555555555555556", "-17.7777777777778"},
        {"K", "degC", "1", "-273.15"},
        {"K", "degF", "1.8", "-459.67"},
    };
    for (const auto& [from, to, multiplyByShown, addShown] : pairs) {
        double add = 0, multiplyBy = 0;
        ASSERT_EQ(engine.UnitExpression_Convert(from, to, add, multiplyBy), S_OK);
        EXPECT_EQ(fifteenDigits(multiplyBy), multiplyByShown) << from << " " << to;
        EXPECT_EQ(fifteenDigits(add), addShown) << from << " " << to;
    }
    // 32 degF is 0 degC within one rounding of its own computation, no more.
    double add = 0, multiplyBy = 0;
    ASSERT_EQ(engine.UnitExpression_Convert("degF", "degC", add, multiplyBy), S_OK);
    EXPECT_LE(std::abs(32 * multiplyBy + add), 4 * std::numeric_limits<double>::epsilon() * std::abs(add));
}

}  // namespace
}  // namespace kestrum::datatest
