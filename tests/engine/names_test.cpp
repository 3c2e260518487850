// Names: which new names are accepted, one case-insensitive name space shared by quantities,
// units, unit systems and synonyms, length limits counted in UTF-16 code units, and names
// given back in the spelling they were created with.
#include "test_support.h"

#include <memory>
#include <vector>

namespace kestrum::test {
namespace {

std::string repeat(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

struct NameRow {
    std::string name;
    bool accepted;
};

// Every adding operation applies the same rule to the name as given.
const NameRow kNameRows[] = {
    {"", false},
    {"kg m", false},       // space
    {"kg*m", false},       // operators and grouping
    {"kg/m", false},
    {"kg(m", false},
    {"kg)m", false},
    {"m.s", false},        // full stop
    {"m^2", false},
    {"12", false},         // starts with a non-zero number
    {"3rd", false},
    {"-1a", false},
    {"5kg", false},
    {"2m", false},
    {"-3x", false},
    {"+4y", false},
    {"1e", false},         // reads as 1
    {"1e999z", false},     // reads as infinity, not zero
    {"kg\tm", false},      // below U+0020
    {"kg\nm", false},
    {"a\x01", false},
    {"\xC3", false},       // not UTF-8
    {"\xED\xA0\x80", false},  // an encoded surrogate
    {"a\xEF\xBF\xBE", false},  // U+FFFE, not an XML character
    {"0", true},           // zero is not "a number other than 0"
    {"0th", true},
    {"0m", true},
    {"0x", true},
    {"0x1A", true},        // no hexadecimal numbers: reads as 0
    {"00e5", true},
    {"x2", true},
    {"m2", true},
    {"e5", true},
    {"kg_m", true},
    {"inf", true},         // words, not numbers
    {"nan", true},
    {"a-b", true},
    {"a&b<c>\"d'", true},  // markup characters are escaped in the file
    {"a\x7F", true},         // DEL is an XML character
    {"\xC2\xB0" "C", true},  // degree sign
    {"\xE2\x84\xA6", true},  // ohm sign
};

// Length, its unit m and the unit system SI, so that every adding and renaming operation has
// something to act on.
std::unique_ptr<Engine> smallEngine() {
    auto e = std::make_unique<Engine>();
    EXPECT_OK(e->Quantity_Add("Length"));
    EXPECT_OK(e->Unit_Add("m", "Length"));
    EXPECT_OK(e->UnitSystem_Add("SI"));
    return e;
}

TEST(CheckName, EveryAddingAndRenamingOperationAppliesTheSameRule) {
    for (const auto& row : kNameRows) {
        const Result expected = row.accepted ? S_OK : E_NAME_NOT_ACCEPTABLE;
        const std::string& name = row.name;
        EXPECT_RC(expected, smallEngine()->Quantity_Add(name)) << "Quantity_Add '" << name << "'";
        EXPECT_RC(expected, smallEngine()->Unit_Add(name, "Length")) << "Unit_Add '" << name << "'";
        EXPECT_RC(expected, smallEngine()->UnitSystem_Add(name)) << "UnitSystem_Add '" << name << "'";
        EXPECT_RC(expected, smallEngine()->Quantity_Synonym_Add("Length", name)) << "Quantity_Synonym_Add '" << name << "'";
        EXPECT_RC(expected, smallEngine()->Unit_Synonym_Add("m", name)) << "Unit_Synonym_Add '" << name << "'";
        EXPECT_RC(expected, smallEngine()->Quantity_Rename("Length", name)) << "Quantity_Rename '" << name << "'";
        EXPECT_RC(expected, smallEngine()->Unit_Rename("m", name)) << "Unit_Rename '" << name << "'";
        EXPECT_RC(expected, smallEngine()->UnitSystem_Rename("SI", name)) << "UnitSystem_Rename '" << name << "'";
    }
}

TEST(CheckName, RefusedNamesLeaveNoTrace) {
    auto e = smallEngine();
    EXPECT_RC(E_NAME_NOT_ACCEPTABLE, e->Quantity_Add("2m"));
    EXPECT_RC(E_NAME_NOT_ACCEPTABLE, e->Unit_Add("kg m", "Length"));
    std::vector<std::string> list;
    ASSERT_OK(e->Quantity_Set(list));
    EXPECT_EQ(list, std::vector<std::string>{"Length"});
    ASSERT_OK(e->Unit_Set(list));
    EXPECT_EQ(list, std::vector<std::string>{"m"});
}

TEST(Names, AreOneCaseInsensitiveNameSpace) {
    Engine e;
    ASSERT_OK(e.Quantity_Add("Length"));
    ASSERT_OK(e.Quantity_Add("Time"));
    ASSERT_OK(e.Unit_Add("metre", "Length"));
    ASSERT_OK(e.Unit_Add("s", "Time"));
    ASSERT_OK(e.UnitSystem_Add("SI"));
    ASSERT_OK(e.UnitSystem_Add("English"));
    ASSERT_OK(e.Unit_Synonym_Add("metre", "Meter"));
    ASSERT_OK(e.Quantity_Synonym_Add("Length", "Distance"));
    for (std::string taken : {"LENGTH", "length", "Metre", "METRE", "si", "meter", "DISTANCE"}) {
        EXPECT_RC(E_NAME_EXISTS, e.Quantity_Add(taken)) << taken;
        EXPECT_RC(E_NAME_EXISTS, e.Unit_Add(taken, "Time")) << taken;
        EXPECT_RC(E_NAME_EXISTS, e.UnitSystem_Add(taken)) << taken;
        EXPECT_RC(E_NAME_EXISTS, e.Quantity_Synonym_Add("Time", taken)) << taken;
        EXPECT_RC(E_NAME_EXISTS, e.Unit_Synonym_Add("s", taken)) << taken;
        EXPECT_RC(E_NAME_EXISTS, e.Quantity_Rename("Time", taken)) << taken;
        EXPECT_RC(E_NAME_EXISTS, e.Unit_Rename("s", taken)) << taken;
        EXPECT_RC(E_NAME_EXISTS, e.UnitSystem_Rename("English", taken)) << taken;
    }
}

TEST(Names, FoldOnlyAsciiLetters) {
    Engine e;
    // Lower-casing is ASCII-only, so these are two different names.
    ASSERT_OK(e.Quantity_Add("\xC3\x89tendue"));  // Étendue
    ASSERT_OK(e.Quantity_Add("\xC3\xA9tendue"));  // étendue
    std::string expression;
    EXPECT_OK(e.Quantity_Expression("\xC3\x89TENDUE", expression));
    EXPECT_RC(E_QUANTITY_NOT_FOUND, e.Quantity_Expression("\xC3\xA9TENDUE2", expression));
    ASSERT_OK(e.Unit_Add("Metre", "\xC3\xA9tendue"));
    std::string quantity;
    for (std::string spelling : {"Metre", "METRE", "metre", "mEtRe"}) {
        ASSERT_OK(e.Unit_Quantity(spelling, quantity)) << spelling;
        EXPECT_EQ(quantity, "\xC3\xA9tendue");
    }
}

struct LengthRow {
    std::string piece;  // one character, repeated
    int count;
    bool accepted;
    const char* label;
};

// 50 UTF-16 code units is the limit whatever the UTF-8 length; 51 is refused, never cut.
const LengthRow kLengthRows[] = {
    {"a", 50, true, "50 ASCII letters"},
    {"a", 51, false, "51 ASCII letters"},
    {"\xC3\xA9", 50, true, "50 two-byte letters"},
    {"\xC3\xA9", 51, false, "51 two-byte letters"},
    {"\xE6\xB0\xB4", 50, true, "50 three-byte characters"},
    {"\xE6\xB0\xB4", 51, false, "51 three-byte characters"},
    {"\xF0\x9F\x98\x80", 25, true, "25 surrogate pairs"},
    {"\xF0\x9F\x98\x80", 26, false, "26 surrogate pairs"},
};

TEST(Names, FiftyUtf16CodeUnitsAreTheLimit) {
    for (const auto& row : kLengthRows) {
        const std::string name = repeat(row.piece, row.count);
        const Result expected = row.accepted ? S_OK : E_NAME_NOT_ACCEPTABLE;
        std::string text;
        std::vector<std::string> list;

        auto e = smallEngine();
        EXPECT_RC(expected, e->Quantity_Add(name)) << row.label;
        EXPECT_RC(row.accepted ? S_OK : E_QUANTITY_NOT_FOUND, e->Quantity_Expression(name, text)) << row.label;

        e = smallEngine();
        EXPECT_RC(expected, e->Unit_Add(name, "Length")) << row.label;
        EXPECT_RC(row.accepted ? S_OK : E_UNIT_NOT_FOUND, e->Unit_Quantity(name, text)) << row.label;

        e = smallEngine();
        EXPECT_RC(expected, e->UnitSystem_Add(name)) << row.label;

        e = smallEngine();
        EXPECT_RC(expected, e->Unit_Synonym_Add("m", name)) << row.label;
        EXPECT_RC(row.accepted ? S_OK : E_UNIT_NOT_FOUND, e->Unit_Quantity(name, text)) << row.label;

        e = smallEngine();
        EXPECT_RC(expected, e->Unit_Symbol_Replace("m", name)) << row.label;
        ASSERT_OK(e->Unit_Symbol("m", text));
        EXPECT_EQ(text, row.accepted ? name : "") << row.label;

        if (!row.accepted) {
            // The name one character shorter exists; the longer one must not be cut into it.
            e = smallEngine();
            const std::string shorter = repeat(row.piece, row.count - 1);
            ASSERT_OK(e->Quantity_Add(shorter)) << row.label;
            EXPECT_RC(E_QUANTITY_NOT_FOUND, e->Quantity_Expression(name, text)) << row.label;
            EXPECT_RC(E_NAME_NOT_ACCEPTABLE, e->Quantity_Add(name)) << row.label;
            EXPECT_RC(E_NAME_NOT_ACCEPTABLE, e->Quantity_Synonym_Add(shorter, name)) << row.label;
            EXPECT_RC(E_SYNONYM_NOT_FOUND, e->Quantity_Synonym_Remove(shorter, name)) << row.label;
            ASSERT_OK(e->Quantity_Set(list));
            EXPECT_EQ(list.size(), 2u) << row.label;
        }
    }
}

TEST(Names, ListsKeepTheFirstSpellingInByteOrderOfTheLowerCaseKey) {
    Engine e;
    for (std::string name : {"Length", "\xC3\xA9tendue", "Zeta", "area", "_x", "Bar"}) ASSERT_OK(e.Quantity_Add(name));
    std::vector<std::string> list;
    ASSERT_OK(e.Quantity_Set(list));
    // "Zeta" sorts as "zeta", after "length" and before the non-ASCII byte 0xC3.
    EXPECT_EQ(list, (std::vector<std::string>{"_x", "area", "Bar", "Length", "Zeta", "\xC3\xA9tendue"}));

    ASSERT_OK(e.Unit_Add("Metre", "length"));
    ASSERT_OK(e.Unit_Add("cm", "LENGTH"));
    ASSERT_OK(e.Unit_Synonym_Add("metre", "Meter"));
    ASSERT_OK(e.Unit_Synonym_Add("METRE", "M"));
    ASSERT_OK(e.UnitSystem_Add("si"));
    ASSERT_OK(e.UnitSystem_Add("English"));
    ASSERT_OK(e.Unit_Set(list));
    EXPECT_EQ(list, (std::vector<std::string>{"cm", "Metre"}));
    ASSERT_OK(e.Unit_Synonym_Set("meter", list));
    EXPECT_EQ(list, (std::vector<std::string>{"M", "Meter"}));
    ASSERT_OK(e.Quantity_Unit_Set("LENGTH", list));
    EXPECT_EQ(list, (std::vector<std::string>{"cm", "Metre"}));
    ASSERT_OK(e.UnitSystem_Set(list));
    EXPECT_EQ(list, (std::vector<std::string>{"English", "si"}));
    std::string quantity;
    ASSERT_OK(e.Unit_Quantity("CM", quantity));
    EXPECT_EQ(quantity, "Length");
}

TEST(Synonyms, FindTheirItemInAnyCaseAndReportItsData) {
    Engine e;
    ASSERT_OK(e.Quantity_Add("Length"));
    ASSERT_OK(e.Quantity_Synonym_Add("Length", "Distance"));
    ASSERT_OK(e.Unit_Add("metre", "distance"));
    ASSERT_OK(e.Unit_ConversionFactor_Replace("metre", 1));
    ASSERT_OK(e.Unit_Add("km", "Length"));
    ASSERT_OK(e.Unit_Expression_Replace("km", "1000*METER"));  // a synonym inside an expression
    ASSERT_OK(e.Unit_Synonym_Add("metre", "Meter"));
    ASSERT_OK(e.Unit_Symbol_Replace("meter", "m"));
    std::string text;
    double factor = 0;
    ASSERT_OK(e.Unit_Quantity("METER", text));
    EXPECT_EQ(text, "Length");
    ASSERT_OK(e.Unit_Symbol("Metre", text));
    EXPECT_EQ(text, "m");
    ASSERT_OK(e.Unit_ConversionFactor("km", factor));
    EXPECT_EQ(factor, 1000.0);
    std::vector<std::string> list;
    ASSERT_OK(e.Quantity_Unit_Set("DISTANCE", list));
    EXPECT_EQ(list, (std::vector<std::string>{"km", "metre"}));
    ASSERT_OK(e.Quantity_Synonym_Set("distance", list));
    EXPECT_EQ(list, std::vector<std::string>{"Distance"});
    // Unit systems are found by their own name only.
    ASSERT_OK(e.UnitSystem_Add("SI"));
    ASSERT_OK(e.UnitSystem_PrefUnit_Replace("si", "DISTANCE", "Meter"));
    ASSERT_OK(e.UnitSystem_PrefUnit("Si", "length", text));
    EXPECT_EQ(text, "metre");
    EXPECT_RC(E_UNIT_SYSTEM_NOT_FOUND, e.UnitSystem_PrefUnit("Distance", "length", text));
}

}  // namespace
}  // namespace kestrum::test
