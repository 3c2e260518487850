// Reading a database file: every element and attribute goes through the edits, in document
// order; where the parser's blocks end changes nothing; a read that fails changes nothing.
#include "test_support.h"

namespace kestrum::test {
namespace {

// A file with something of everything: synonyms (one with a character reference, one with
// non-ASCII letters), expressions, offsets, symbols, comments and unit systems.
const std::string_view kRichFile =
    "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n"
    "<!-- a comment before the root -->\r\n"
    "<UNITS_DATABASE>\r\n"
    "\t<QUANTITIES>\r\n"
    "\t\t<QUANTITY NAME = \"Length\" M = \"1\">\r\n"
    "\t\t\t<SYNONYM>Distance</SYNONYM>\r\n"
    "\t\t\t<SYNONYM>Long&amp;Far</SYNONYM>\r\n"
    "\t\t\t<SYNONYM>\xC3\x89tendue</SYNONYM>\r\n"
    "\t\t</QUANTITY>\r\n"
    "\t\t<QUANTITY NAME = \"Time\" S = \"1\"/>\r\n"
    "\t\t<QUANTITY NAME = \"Temperature\" K = \"1\"/>\r\n"
    "\t\t<QUANTITY NAME = \"Velocity\" EXPRESSION = \"Length/Time\"/>\r\n"
    "\t\t<QUANTITY NAME = \"Ratio\"/>\r\n"
    "\t</QUANTITIES>\r\n"
    "\t<UNITS>\r\n"
    "\t\t<UNIT NAME = \"m\" QUANTITY = \"Length\" CONVERSION_FACTOR = \"1.\" SYMBOL = \"m\">\r\n"
    "\t\t\t<SYNONYM>Metre</SYNONYM>\r\n"
    "\t\t\t<SYNONYM>M\xC3\xA8tre</SYNONYM>\r\n"
    "\t\t</UNIT>\r\n"
    "\t\t<UNIT NAME = \"km\" QUANTITY = \"Length\" EXPRESSION = \"1000*m\"/>\r\n"
    "\t\t<UNIT NAME = \"s\" QUANTITY = \"Time\" CONVERSION_FACTOR = \"1.\"/>\r\n"
    "\t\t<UNIT NAME = \"h\" QUANTITY = \"Time\" CONVERSION_FACTOR = \"3600.\"/>\r\n"
    "\t\t<UNIT NAME = \"degC\" QUANTITY = \"Temperature\" CONVERSION_FACTOR = \"1.\" "
    "CONVERSION_OFFSET = \"273.15\" SYMBOL = \"\xC2\xB0" "C\"/>\r\n"
    "\t\t<UNIT NAME = \"kmh\" QUANTITY = \"Velocity\" EXPRESSION = \"km/h\" SYMBOL = \"km&#9;h\"/>\r\n"
    "\t</UNITS>\r\n"
    "\t<UNIT_SYSTEMS>\r\n"
    "\t\t<UNIT_SYSTEM NAME = \"SI\">\r\n"
    "\t\t\t<UNIT_SYSTEM_QTY NAME = \"Length\" PREFERRED_UNIT = \"m\"/>\r\n"
    "\t\t\t<UNIT_SYSTEM_QTY NAME = \"Time\" PREFERRED_UNIT = \"s\"/>\r\n"
    "\t\t\t<UNIT_SYSTEM_QTY NAME = \"Velocity\"/>\r\n"
    "\t\t</UNIT_SYSTEM>\r\n"
    "\t</UNIT_SYSTEMS>\r\n"
    "</UNITS_DATABASE>\r\n";

class Reader : public ::testing::Test {
protected:
    std::string fileWith(std::string_view content, std::string_view name = "db.xml") {
        const std::string path = dir.file(name);
        writeFile(path, content);
        return path;
    }
    TempDir dir;
};

TEST_F(Reader, LoadsEveryKindOfItem) {
    Engine e;
    ASSERT_OK(e.ReadUnitDatabase(fileWith(kRichFile), OVERWRITE));
    EXPECT_EQ(dump(e),
              "quantity Length expr= dims=0,1,0,0,0,0,0,0,0,0, synonyms=[Distance][Long&Far][\xC3\x89tendue] "
              "units=[km][m]\n"
              "quantity Ratio expr= dims=0,0,0,0,0,0,0,0,0,0, synonyms= units=\n"
              "quantity Temperature expr= dims=0,0,0,0,1,0,0,0,0,0, synonyms= units=[degC]\n"
              "quantity Time expr= dims=0,0,1,0,0,0,0,0,0,0, synonyms= units=[h][s]\n"
              "quantity Velocity expr=Length/Time dims=0,1,-1,0,0,0,0,0,0,0, synonyms= units=[kmh]\n"
              "unit degC quantity=Temperature expr= factor=1 offset=273.15 symbol=\xC2\xB0" "C synonyms=\n"
              "unit h quantity=Time expr= factor=3600 offset=0 symbol= synonyms=\n"
              "unit km quantity=Length expr=1000*m factor=1000 offset=0 symbol= synonyms=\n"
              "unit kmh quantity=Velocity expr=km/h factor=0.2777777777777778 offset=0 symbol=km\th synonyms=\n"
              "unit m quantity=Length expr= factor=1 offset=0 symbol=m synonyms=[Metre][M\xC3\xA8tre]\n"
              "unit s quantity=Time expr= factor=1 offset=0 symbol= synonyms=\n"
              "system SI: Length=m Ratio= Temperature= Time=s Velocity=\n");
}

TEST_F(Reader, WhereBlocksEndChangesNothing) {
    const std::string path = fileWith(kRichFile);
    Engine reference;
    ASSERT_OK(reference.ReadUnitDatabase(path, OVERWRITE));
    const std::string expected = dump(reference);
    for (std::size_t blockSize : {1, 2, 3, 7, 64, 511, 512, 513, 4096}) {
        Engine e;
        e.SetReadBlockSize(blockSize);
        ASSERT_OK(e.ReadUnitDatabase(path, OVERWRITE)) << blockSize;
        EXPECT_EQ(dump(e), expected) << "block size " << blockSize;
    }
}

// A file in which the text of one SYNONYM runs across byte 512, where a 512-byte block ends.
std::string fileWithSynonymAcross512(std::string_view synonym, std::size_t synonymStart) {
    std::string head =
        "<UNITS_DATABASE><QUANTITIES><QUANTITY NAME=\"Length\" M=\"1\"/></QUANTITIES><UNITS>"
        "<UNIT NAME=\"km\" QUANTITY=\"Length\" CONVERSION_FACTOR=\"1000\"><!--";
    const std::string tail = "--><SYNONYM>";
    head.append(synonymStart - head.size() - tail.size(), 'x');
    head += tail;
    return head + std::string(synonym) + "</SYNONYM></UNIT></UNITS></UNITS_DATABASE>";
}

TEST_F(Reader, ASynonymAcrossABlockEndIsAddedOnceWhole) {
    for (std::size_t start : {504, 508, 511}) {
        const std::string content = fileWithSynonymAcross512("Kilometre", start);
        ASSERT_EQ(content.substr(start, 9), "Kilometre");
        ASSERT_LT(start, 512u);
        ASSERT_GT(start + 9, 512u);
        Engine e;
        e.SetReadBlockSize(512);
        ASSERT_OK(e.ReadUnitDatabase(fileWith(content), OVERWRITE)) << start;
        std::vector<std::string> synonyms;
        ASSERT_OK(e.Unit_Synonym_Set("km", synonyms));
        EXPECT_EQ(synonyms, std::vector<std::string>{"Kilometre"}) << "synonym starting at byte " << start;
        std::string quantity;
        EXPECT_RC(E_UNIT_NOT_FOUND, e.Unit_Quantity("Kilo", quantity));
    }
}

TEST_F(Reader, AFileOfWholeBlocksEndsWithAnEmptyBlock) {
    const std::string body = "<UNITS_DATABASE><QUANTITIES><QUANTITY NAME=\"Length\" M=\"1\"/></QUANTITIES>";
    const std::string end = "</UNITS_DATABASE>";
    for (std::size_t size : {511, 512, 513, 1024}) {
        const std::string content = body + std::string(size - body.size() - end.size(), ' ') + end;
        ASSERT_EQ(content.size(), size);
        for (std::size_t blockSize : {512, 256}) {
            Engine e;
            e.SetReadBlockSize(blockSize);
            ASSERT_OK(e.ReadUnitDatabase(fileWith(content), OVERWRITE)) << size << " bytes";
            std::vector<std::int16_t> vector;
            ASSERT_OK(e.Quantity_DimVector("Length", vector)) << size << " bytes";
            EXPECT_EQ(vector[1], 1);
        }
    }
}

TEST_F(Reader, AppendingTheSameFileTwiceChangesNothingMore) {
    Engine e;
    buildSmallDatabase(e);
    ASSERT_OK(e.Unit_Synonym_Add("km", "Kilometre"));
    const std::string path = fileWith(kRichFile);
    ASSERT_OK(e.ReadUnitDatabase(path, APPEND));
    const std::string once = dump(e);
    ASSERT_OK(e.ReadUnitDatabase(path, APPEND));
    EXPECT_EQ(dump(e), once);
    // Every flag other than 1 appends.
    for (int flag : {0, 3, -1}) {
        ASSERT_OK(e.ReadUnitDatabase(path, flag)) << flag;
        EXPECT_EQ(dump(e), once) << flag;
    }
}

TEST_F(Reader, AppendMergesIntoExistingItems) {
    Engine e;
    buildSmallDatabase(e);
    const std::string path = fileWith(
        "<UNITS_DATABASE><QUANTITIES>"
        "<QUANTITY NAME=\"LENGTH\" M=\"2\"><SYNONYM>Span</SYNONYM><SYNONYM>mass</SYNONYM></QUANTITY>"
        "</QUANTITIES><UNITS>"
        "<UNIT NAME=\"KM\" QUANTITY=\"Time\" CONVERSION_FACTOR=\"999\" SYMBOL=\"k\"><SYNONYM>klick</SYNONYM></UNIT>"
        "<UNIT NAME=\"Furlong\" QUANTITY=\"Length\" EXPRESSION=\"201.168*m\"/>"
        "</UNITS><UNIT_SYSTEMS><UNIT_SYSTEM NAME=\"si\"><UNIT_SYSTEM_QTY NAME=\"length\" PREFERRED_UNIT=\"furlong\"/>"
        "</UNIT_SYSTEM></UNIT_SYSTEMS></UNITS_DATABASE>");
    ASSERT_OK(e.ReadUnitDatabase(path, APPEND));
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("Length", vector));
    EXPECT_EQ(vector[1], 2);
    std::vector<std::string> list;
    ASSERT_OK(e.Quantity_Synonym_Set("Length", list));
    EXPECT_EQ(list, std::vector<std::string>{"Span"});  // "mass" is taken
    std::string text;
    ASSERT_OK(e.Unit_Quantity("km", text));
    EXPECT_EQ(text, "Length");  // an existing unit keeps its quantity
    ASSERT_OK(e.Unit_Symbol("km", text));
    EXPECT_EQ(text, "k");
    ASSERT_OK(e.Unit_Synonym_Set("km", list));
    EXPECT_EQ(list, std::vector<std::string>{"klick"});
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "Length", text));
    EXPECT_EQ(text, "Furlong");
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "Time", text));
    EXPECT_EQ(text, "s");  // the rest of the system stays
    ASSERT_OK(e.Unit_Set(list));
    EXPECT_EQ(list.size(), 14u);
}

TEST_F(Reader, OverwriteReplacesEverything) {
    Engine e;
    buildSmallDatabase(e);
    ASSERT_OK(e.ReadUnitDatabase(fileWith(kRichFile), OVERWRITE));
    Engine reference;
    ASSERT_OK(reference.ReadUnitDatabase(fileWith(kRichFile), OVERWRITE));
    EXPECT_EQ(dump(e), dump(reference));
}

TEST_F(Reader, AFailedReadLeavesTheDatabaseExactlyAsItWas) {
    const std::string missing = dir.file("missing.xml");
    const std::string empty = fileWith("", "empty.xml");
    // Valid items first, then the error: nothing of them may be merged.
    const std::string corrupt = fileWith(
        "<UNITS_DATABASE><QUANTITIES><QUANTITY NAME=\"Area\" M=\"2\"/></QUANTITIES><UNITS>"
        "<UNIT NAME=\"m\" CONVERSION_FACTOR=\"5\"/><UNIT NAME=\"acre\" QUANTITY=\"Area\" CONVERSION_FACTOR=\"4046\"/>"
        "</UNITS><UNIT_SYSTEMS></UNITS_DATABASE>",
        "corrupt.xml");
    const std::string longPath = "/" + std::string(259, 'x');
    struct Row {
        std::string path;
        Result code;
    };
    const Row rows[] = {{missing, E_UDB_FILE_NOT_FOUND}, {dir.path().string(), E_UDB_FILE_NOT_FOUND},
                        {"", E_UDB_FILE_NOT_FOUND},      {longPath, E_UDB_FILE_NOT_FOUND},
                        {empty, E_UDB_CORRUPT},          {corrupt, E_UDB_CORRUPT}};
    for (const auto& row : rows) {
        for (int flag : {OVERWRITE, APPEND}) {
            Engine e;
            buildSmallDatabase(e);
            const std::string before = dump(e);
            EXPECT_RC(row.code, e.ReadUnitDatabase(row.path, flag)) << row.path << " flag " << flag;
            EXPECT_EQ(dump(e), before) << row.path << " flag " << flag;
            double add = 0, multiplyBy = 0;
            EXPECT_RC(E_NOT_INITIALIZED, e.UnitExpression_Convert("m", "m", add, multiplyBy))
                << "a failed read does not initialize";
        }
    }
}

TEST_F(Reader, NumbersAndExponentsAreReadAsTheFileWritesThem) {
    Engine e;
    ASSERT_OK(e.ReadUnitDatabase(
        fileWith("<UNITS_DATABASE><QUANTITIES>"
                 "<QUANTITY NAME=\"A\" KG=\"2.9\" M=\"-1.5\" S=\" 3xyz\" DOLLAR=\"7\"/>"
                 "<QUANTITY NAME=\"B\" A=\"abc\"/>"
                 "</QUANTITIES><UNITS>"
                 "<UNIT NAME=\"u1\" QUANTITY=\"A\" CONVERSION_FACTOR=\"1.5e3xyz\" CONVERSION_OFFSET=\" -2.5\"/>"
                 "<UNIT NAME=\"u2\" QUANTITY=\"A\" CONVERSION_FACTOR=\"0x10\" CONVERSION_OFFSET=\"inf\"/>"
                 "<UNIT NAME=\"u3\" QUANTITY=\"A\" CONVERSION_FACTOR=\"2.54e-002\"/>"
                 "<UNIT NAME=\"u4\" QUANTITY=\"A\" CONVERSION_FACTOR=\"1.e+008\"/>"
                 "<UNIT NAME=\"u5\" QUANTITY=\"A\" CONVERSION_FACTOR=\".5\"/>"
                 "</UNITS></UNITS_DATABASE>"),
        OVERWRITE));
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("A", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{2, -1, 3, 0, 0, 0, 0, 0, 0, 7}));
    ASSERT_OK(e.Quantity_DimVector("B", vector));
    EXPECT_EQ(vector, std::vector<std::int16_t>(kBaseDimensions, 0));
    struct Row {
        const char* unit;
        double factor, offset;
    };
    for (const Row& row : {Row{"u1", 1500, -2.5}, Row{"u2", 0, 0}, Row{"u3", 0.0254, 0}, Row{"u4", 1e8, 0},
                           Row{"u5", 0.5, 0}}) {
        double factor = -1, offset = -1;
        ASSERT_OK(e.Unit_ConversionFactor(row.unit, factor));
        ASSERT_OK(e.Unit_ConversionOffset(row.unit, offset));
        EXPECT_EQ(factor, row.factor) << row.unit;
        EXPECT_EQ(offset, row.offset) << row.unit;
    }
}

// The interface carries exponents in 16 bits, and the edits take nothing wider: a file's
// exponent beyond that is refused the same way, never narrowed into another exponent.
TEST_F(Reader, ExponentsBeyondSixteenBitsAreLeftOut) {
    Engine e;
    ASSERT_OK(e.ReadUnitDatabase(
        fileWith("<UNITS_DATABASE><QUANTITIES>"
                 "<QUANTITY NAME=\"Edge\" KG=\"32767\" M=\"-32768\"/>"
                 "<QUANTITY NAME=\"Past\" KG=\"32768\" M=\"1\" S=\"-32769\" A=\"40000\" K=\"1e10\"/>"
                 "<QUANTITY NAME=\"Only\" KG=\"65537\"/>"
                 "</QUANTITIES></UNITS_DATABASE>"),
        OVERWRITE));
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("Edge", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{32767, -32768, 0, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_OK(e.Quantity_DimVector("Past", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_OK(e.Quantity_DimVector("Only", vector));
    EXPECT_EQ(vector, std::vector<std::int16_t>(kBaseDimensions, 0));  // 65537 is not 1
}

TEST_F(Reader, AttributesTakeEffectInDocumentOrder) {
    Engine e;
    ASSERT_OK(e.ReadUnitDatabase(
        fileWith("<UNITS_DATABASE><QUANTITIES>"
                 // NAME not first: M goes to no quantity, so Length stays without a vector.
                 "<QUANTITY M=\"1\" NAME=\"Length\"/>"
                 "<QUANTITY NAME=\"Time\" S=\"1\"/>"
                 // K is met while Time is still the current quantity.
                 "<QUANTITY K=\"1\" NAME=\"Temperature\"/>"
                 // Attribute names are case-sensitive: no Mass, and KG goes to Temperature.
                 "<QUANTITY name=\"Mass\" KG=\"1\"/>"
                 "</QUANTITIES><UNITS>"
                 // SYMBOL before QUANTITY: the unit does not exist yet.
                 "<UNIT NAME=\"m\" SYMBOL=\"m\" QUANTITY=\"Length\" CONVERSION_FACTOR=\"1\"/>"
                 // QUANTITY before NAME: m is the current unit, so nothing is added.
                 "<UNIT QUANTITY=\"Length\" NAME=\"km\" EXPRESSION=\"1000*m\"/>"
                 // EXPRESSION before QUANTITY is lost; the unit has no factor.
                 "<UNIT NAME=\"cm\" EXPRESSION=\"m/100\" QUANTITY=\"Length\"/>"
                 // Factor and offset in either order; a factor after an expression is refused.
                 "<UNIT NAME=\"ft\" QUANTITY=\"Length\" CONVERSION_OFFSET=\"2\" CONVERSION_FACTOR=\"0.3048\"/>"
                 "<UNIT NAME=\"in\" QUANTITY=\"Length\" EXPRESSION=\"ft/12\" CONVERSION_FACTOR=\"5\"/>"
                 "<UNIT NAME=\"s\" QUANTITY=\"Time\" CONVERSION_FACTOR=\"1\"/>"
                 "</UNITS><UNIT_SYSTEMS><UNIT_SYSTEM NAME=\"SI\">"
                 "<UNIT_SYSTEM_QTY NAME=\"Time\" PREFERRED_UNIT=\"s\"/>"
                 // PREFERRED_UNIT before NAME goes to the current quantity, Time.
                 "<UNIT_SYSTEM_QTY PREFERRED_UNIT=\"ft\" NAME=\"Length\"/>"
                 "</UNIT_SYSTEM></UNIT_SYSTEMS></UNITS_DATABASE>"),
        OVERWRITE));
    std::vector<std::int16_t> vector;
    ASSERT_OK(e.Quantity_DimVector("Length", vector));
    EXPECT_EQ(vector, std::vector<std::int16_t>(kBaseDimensions, 0));
    ASSERT_OK(e.Quantity_DimVector("Time", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, 0, 1, 0, 1, 0, 0, 0, 0, 0}));
    ASSERT_OK(e.Quantity_DimVector("Temperature", vector));
    EXPECT_EQ(vector, (std::vector<std::int16_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    std::vector<std::string> list;
    ASSERT_OK(e.Quantity_Set(list));
    EXPECT_EQ(list, (std::vector<std::string>{"Length", "Temperature", "Time"}));
    ASSERT_OK(e.Unit_Set(list));
    EXPECT_EQ(list, (std::vector<std::string>{"cm", "ft", "in", "m", "s"}));
    std::string text;
    ASSERT_OK(e.Unit_Symbol("m", text));
    EXPECT_EQ(text, "");
    ASSERT_OK(e.Unit_Expression("cm", text));
    EXPECT_EQ(text, "");
    double value = -1;
    ASSERT_OK(e.Unit_ConversionFactor("cm", value));
    EXPECT_EQ(value, 0.0);
    ASSERT_OK(e.Unit_ConversionOffset("ft", value));
    EXPECT_EQ(value, 2.0);
    ASSERT_OK(e.Unit_ConversionFactor("in", value));
    EXPECT_TRUE(near(value, 0.0254));
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "Time", text));
    EXPECT_EQ(text, "ft");
    ASSERT_OK(e.UnitSystem_PrefUnit("SI", "Length", text));
    EXPECT_EQ(text, "");
}

TEST_F(Reader, WhatTheEditsRefuseIsLeftOutAndReadingGoesOn) {
    Engine e;
    ASSERT_OK(e.ReadUnitDatabase(
        fileWith("<ROOT><QUANTITIES><QUANTITY NAME=\"Length\" M=\"1\"><SYNONYM>2x</SYNONYM><SYNONYM>Span</SYNONYM>"
                 "</QUANTITY><QUANTITY NAME=\"2m\" M=\"3\"/><QUANTITY NAME=\"Time\" S=\"1\"/>"
                 "<EXTRA NAME=\"Mass\"/></QUANTITIES><UNITS>"
                 "<UNIT NAME=\"furlong\" QUANTITY=\"Furlongs\" CONVERSION_FACTOR=\"201\"><SYNONYM>fur</SYNONYM></UNIT>"
                 "<UNIT NAME=\"Metre\" QUANTITY=\"Length\" CONVERSION_FACTOR=\"1\"><SYNONYM>Meter</SYNONYM></UNIT>"
                 "<UNIT NAME=\"length\" QUANTITY=\"Length\" CONVERSION_FACTOR=\"9\"/>"
                 "<UNIT NAME=\"s\" QUANTITY=\"Time\" CONVERSION_FACTOR=\"1\"><SYNONYM>span</SYNONYM></UNIT>"
                 "</UNITS><UNIT_SYSTEMS><UNIT_SYSTEM NAME=\"Time\"/><UNIT_SYSTEM NAME=\"SI\">"
                 "<UNIT_SYSTEM_QTY NAME=\"Length\" PREFERRED_UNIT=\"furlong\"/>"
                 "<UNIT_SYSTEM_QTY NAME=\"Furlongs\" PREFERRED_UNIT=\"metre\"/>"
                 "<UNIT_SYSTEM_QTY NAME=\"Time\" PREFERRED_UNIT=\"s\"/>"
                 "</UNIT_SYSTEM></UNIT_SYSTEMS></ROOT>"),
        OVERWRITE));
    EXPECT_EQ(dump(e),
              "quantity Length expr= dims=0,1,0,0,0,0,0,0,0,0, synonyms=[Span] units=[Metre]\n"
              "quantity Time expr= dims=0,0,1,0,0,0,0,0,0,0, synonyms= units=[s]\n"
              "unit Metre quantity=Length expr= factor=1 offset=0 symbol= synonyms=[Meter]\n"
              "unit s quantity=Time expr= factor=1 offset=0 symbol= synonyms=\n"
              "system SI: Length= Time=s\n");
}

TEST_F(Reader, AFileCannotPullInOtherFiles) {
    writeFile(dir.file("secret.txt"), "LeakedToken");
    const std::string content =
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE UNITS_DATABASE [<!ENTITY secret SYSTEM \"" + dir.file("secret.txt") + "\">]>\n"
        "<UNITS_DATABASE><QUANTITIES><QUANTITY NAME=\"Length\" M=\"1\">"
        "<SYNONYM>&secret;</SYNONYM><SYNONYM>Span</SYNONYM></QUANTITY></QUANTITIES></UNITS_DATABASE>";
    Engine e;
    ASSERT_OK(e.ReadUnitDatabase(fileWith(content), OVERWRITE));
    std::vector<std::string> synonyms;
    ASSERT_OK(e.Quantity_Synonym_Set("Length", synonyms));
    EXPECT_EQ(synonyms, std::vector<std::string>{"Span"});
    EXPECT_EQ(dump(e).find("LeakedToken"), std::string::npos);
}

}  // namespace
}  // namespace kestrum::test
