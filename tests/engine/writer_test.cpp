// Writing the database file: the exact text, numbers in the file's notation with the digits
// they need, escaping, and a round trip that gives back every value to the last bit.
#include "test_support.h"

#include <cfloat>
#include <algorithm>
#include <cmath>

namespace kestrum::test {
namespace {

class Writer : public ::testing::Test {
protected:
    std::string written(Engine& e) {
        const std::string path = dir.file("out.xml");
        EXPECT_OK(e.WriteUnitDatabase(path));
        return readFile(path);
    }
    TempDir dir;
};

TEST_F(Writer, AnEmptyDatabaseIsNineLines) {
    Engine e;  // no database read: writing needs none
    EXPECT_EQ(written(e), kEmptyDatabaseFile);
}

TEST_F(Writer, EveryItemIsOneElementInListOrder) {
    Engine e;
    addQuantity(e, "Velocity", {0, 1, -1});
    addQuantityExpression(e, "Area", "Length^2");
    addQuantity(e, "Length", {0, 1});
    ASSERT_OK(e.Quantity_Synonym_Add("Length", "Distance"));
    ASSERT_OK(e.Quantity_Synonym_Add("Length", "Span"));
    ASSERT_OK(e.Quantity_Add("Ratio"));
    addQuantity(e, "Temperature", {0, 0, 0, 0, 1});
    ASSERT_OK(e.UnitSystem_Add("SI"));
    addQuantity(e, "Time", {0, 0, 1});  // after the unit system: a line with NAME only
    addUnitExpression(e, "Rankine", "Temperature", "5/9*K");
    addUnit(e, "degF", "Temperature", 1.8, 32);
    addUnit(e, "K", "Temperature", 1);
    ASSERT_OK(e.Unit_Symbol_Replace("K", "K"));
    ASSERT_OK(e.Unit_Add("bare", "Length"));  // never given a factor: written as 0
    addUnitExpression(e, "broken", "Length", "furlong");
    addUnit(e, "m", "Length", 1);
    ASSERT_OK(e.Unit_Synonym_Add("m", "Metre"));
    setPreferred(e, "SI", "Length", "m");
    setPreferred(e, "SI", "Temperature", "K");
    EXPECT_EQ(written(e),
              "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n"
              "<UNITS_DATABASE>\r\n"
              "\t<QUANTITIES>\r\n"
              "\t\t<QUANTITY NAME = \"Area\" EXPRESSION = \"Length^2\"/>\r\n"
              "\t\t<QUANTITY NAME = \"Length\" M = \"1\">\r\n"
              "\t\t\t<SYNONYM>Distance</SYNONYM>\r\n"
              "\t\t\t<SYNONYM>Span</SYNONYM>\r\n"
              "\t\t</QUANTITY>\r\n"
              "\t\t<QUANTITY NAME = \"Ratio\"/>\r\n"
              "\t\t<QUANTITY NAME = \"Temperature\" K = \"1\"/>\r\n"
              "\t\t<QUANTITY NAME = \"Time\" S = \"1\"/>\r\n"
              "\t\t<QUANTITY NAME = \"Velocity\" M = \"1\" S = \"-1\"/>\r\n"
              "\t</QUANTITIES>\r\n"
              "\t<UNITS>\r\n"
              "\t\t<UNIT NAME = \"bare\" QUANTITY = \"Length\" CONVERSION_FACTOR = \"0.\"/>\r\n"
              "\t\t<UNIT NAME = \"broken\" QUANTITY = \"Length\" EXPRESSION = \"furlong\"/>\r\n"
              "\t\t<UNIT NAME = \"degF\" QUANTITY = \"Temperature\" CONVERSION_FACTOR = \"1.8\" "
              "CONVERSION_OFFSET = \"32.\"/>\r\n"
              "\t\t<UNIT NAME = \"K\" QUANTITY = \"Temperature\" CONVERSION_FACTOR = \"1.\" SYMBOL = \"K\"/>\r\n"
              "\t\t<UNIT NAME = \"m\" QUANTITY = \"Length\" CONVERSION_FACTOR = \"1.\">\r\n"
              "\t\t\t<SYNONYM>Metre</SYNONYM>\r\n"
              "\t\t</UNIT>\r\n"
              "\t\t<UNIT NAME = \"Rankine\" QUANTITY = \"Temperature\" EXPRESSION = \"5/9*K\"/>\r\n"
              "\t</UNITS>\r\n"
              "\t<UNIT_SYSTEMS>\r\n"
              "\t\t<UNIT_SYSTEM NAME = \"SI\">\r\n"
              "\t\t\t<UNIT_SYSTEM_QTY NAME = \"Area\"/>\r\n"
              "\t\t\t<UNIT_SYSTEM_QTY NAME = \"Length\" PREFERRED_UNIT = \"m\"/>\r\n"
              "\t\t\t<UNIT_SYSTEM_QTY NAME = \"Ratio\"/>\r\n"
              "\t\t\t<UNIT_SYSTEM_QTY NAME = \"Temperature\" PREFERRED_UNIT = \"K\"/>\r\n"
              "\t\t\t<UNIT_SYSTEM_QTY NAME = \"Time\"/>\r\n"
              "\t\t\t<UNIT_SYSTEM_QTY NAME = \"Velocity\"/>\r\n"
              "\t\t</UNIT_SYSTEM>\r\n"
              "\t</UNIT_SYSTEMS>\r\n"
              "</UNITS_DATABASE>\r\n");
}

// The factor of the only unit, as the file writes it.
std::string writtenFactor(double factor, TempDir& dir) {
    Engine e;
    addQuantity(e, "Length", {0, 1});
    addUnit(e, "u", "Length", factor);
    EXPECT_OK(e.WriteUnitDatabase(dir.file("number.xml")));
    const std::string text = readFile(dir.file("number.xml"));
    const std::string key = "CONVERSION_FACTOR = \"";
    const auto start = text.find(key) + key.size();
    return text.substr(start, text.find('"', start) - start);
}

TEST_F(Writer, NumbersUseEightSignificantDigitsWhenTheySuffice) {
    struct Row {
        double value;
        const char* text;
    };
    const Row rows[] = {
        {1, "1."},           {0.5, "0.5"},         {1609.344, "1609.344"}, {0.0254, "2.54e-002"},
        {100000000, "1.e+008"}, {-99999998, "-99999998"}, {0, "0."},     {0.3048, "0.3048"},
        {-0.3048, "-0.3048"},   {12345678, "12345678"}, {0.1, "0.1"},     {0.01, "1.e-002"},
        {1e-30, "1.e-030"},     {4.1868e20, "4.1868e+020"}, {3600, "3600."}, {273.15, "273.15"},
    };
    for (const auto& row : rows) EXPECT_EQ(writtenFactor(row.value, dir), row.text) << row.value;
}

TEST_F(Writer, NumbersGetTheDigitsTheyNeedToReadBackExactly) {
    EXPECT_EQ(writtenFactor(1055.05585262, dir), "1055.05585262");
    EXPECT_EQ(writtenFactor(6.02214076e23, dir), "6.02214076e+023");
    EXPECT_EQ(writtenFactor(0.45359237, dir), "0.45359237");
    const double values[] = {1.0 / 3600, 1.0 / 3, 2.0 / 3, 5.0 / 9, 459.67 * 5 / 9, 0.1 + 0.2, M_PI, -M_E,
                             DBL_MAX, -DBL_MAX, DBL_MIN, DBL_TRUE_MIN, 1e300, 1e-300, 123456789.123, 9.99999995e7};
    for (double value : values) {
        Engine e;
        addQuantity(e, "Length", {0, 1});
        addUnit(e, "u", "Length", value);
        addUnit(e, "v", "Length", 1, value);
        ASSERT_OK(e.WriteUnitDatabase(dir.file("digits.xml")));
        Engine back;
        ASSERT_OK(back.ReadUnitDatabase(dir.file("digits.xml"), OVERWRITE));
        double factor = 0, offset = 0;
        ASSERT_OK(back.Unit_ConversionFactor("u", factor));
        ASSERT_OK(back.Unit_ConversionOffset("v", offset));
        EXPECT_EQ(factor, value) << writtenFactor(value, dir);
        EXPECT_EQ(offset, value) << writtenFactor(value, dir);
    }
}

TEST_F(Writer, MarkupAndLineBreaksAreEscapedAndReadBack) {
    Engine e;
    addQuantity(e, "Length", {0, 1});
    addUnit(e, "a&b<c>\"d", "Length", 1);
    ASSERT_OK(e.Unit_Symbol_Replace("a&b<c>\"d", "x\ty\nz\r<&>\""));
    ASSERT_OK(e.Unit_Synonym_Add("a&b<c>\"d", "s&<>\"'"));
    addUnitExpression(e, "e", "Length", "2\t*\r\na&b<c>\"d");
    const std::string text = written(e);
    EXPECT_NE(text.find("NAME = \"a&amp;b&lt;c&gt;&quot;d\""), std::string::npos) << text;
    EXPECT_NE(text.find("SYMBOL = \"x&#9;y&#10;z&#13;&lt;&amp;&gt;&quot;\""), std::string::npos) << text;
    EXPECT_NE(text.find("<SYNONYM>s&amp;&lt;&gt;&quot;'</SYNONYM>"), std::string::npos) << text;
    EXPECT_NE(text.find("EXPRESSION = \"2&#9;*&#13;&#10;a&amp;b&lt;c&gt;&quot;d\""), std::string::npos) << text;
    // Raw CR appears only before LF, as the end of a line.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            EXPECT_EQ(text[i + 1], '\n') << "at " << i;
        }
    }

    Engine back;
    ASSERT_OK(back.ReadUnitDatabase(dir.file("out.xml"), OVERWRITE));
    EXPECT_EQ(dump(back), dump(e));
    std::string symbol;
    ASSERT_OK(back.Unit_Symbol("A&B<C>\"D", symbol));
    EXPECT_EQ(symbol, "x\ty\nz\r<&>\"");
}

TEST_F(Writer, ARichDatabaseComesBackIdentical) {
    TempDir other;
    Engine e;
    buildSmallDatabase(e);
    ASSERT_OK(e.Unit_Synonym_Add("m", "Metre"));
    ASSERT_OK(e.Unit_Synonym_Add("m", "M\xC3\xA8tre"));
    ASSERT_OK(e.Quantity_Synonym_Add("Length", "Distance"));
    ASSERT_OK(e.Unit_Symbol_Replace("degC", "\xC2\xB0" "C"));
    ASSERT_OK(e.Unit_Symbol_Replace("m", "m"));
    addQuantity(e, "Ratio", {});
    addQuantity(e, "Money", {0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    addQuantity(e, "Odd", {-3, 2, -1, 4, 0, 7, -5, 1, -1, 2});
    addUnitExpression(e, "kmh", "Velocity", "km/h");
    addUnitExpression(e, "third", "Length", "m/3");
    addUnitExpression(e, "dangling", "Length", "furlong/8");
    addUnit(e, "\xE2\x82\xAC", "Money", 1.0 / 7.0);
    addUnit(e, "oddity", "Odd", 1e-300, -2.5e-7);
    ASSERT_OK(e.UnitSystem_Add("Empty"));
    const std::string first = written(e);
    Engine back;
    ASSERT_OK(back.ReadUnitDatabase(dir.file("out.xml"), OVERWRITE));
    EXPECT_EQ(dump(back), dump(e));
    ASSERT_OK(back.WriteUnitDatabase(other.file("again.xml")));
    EXPECT_EQ(readFile(other.file("again.xml")), first);
}

TEST_F(Writer, APlaceThatCannotBeWrittenIsRefused) {
    Engine e;
    addQuantity(e, "Length", {0, 1});
    for (const std::string& path : {dir.file("missing/folder/out.xml"), std::string(""), dir.path().string()})
        EXPECT_RC(E_NO_WRITE_PERMISSION, e.WriteUnitDatabase(path)) << path;
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

TEST_F(Writer, PathsUpTo259Utf16CodeUnitsAreTaken) {
    Engine e;
    addQuantity(e, "Length", {0, 1});
    const std::size_t folder = dir.path().string().size() + 1;
    const std::string path259 = dir.file(std::string(259 - folder, 'x'));
    const std::string path260 = dir.file(std::string(260 - folder, 'y'));
    ASSERT_EQ(path259.size(), 259u);
    ASSERT_OK(e.WriteUnitDatabase(path259));
    Engine back;
    ASSERT_OK(back.ReadUnitDatabase(path259, OVERWRITE));
    EXPECT_EQ(dump(back), dump(e));
    EXPECT_RC(E_NO_WRITE_PERMISSION, e.WriteUnitDatabase(path260));
    EXPECT_FALSE(std::filesystem::exists(path260));
    std::filesystem::copy_file(path259, path260);  // the file system takes it; the engine does not
    EXPECT_RC(E_UDB_FILE_NOT_FOUND, back.ReadUnitDatabase(path260, OVERWRITE));
    // Code units, not bytes: a path of 259, most of them two-byte letters (over 400 bytes).
    std::string wide = dir.path().string();
    std::size_t units = wide.size();
    while (units < 259) {
        std::size_t letters = std::min<std::size_t>(100, 259 - units - 1);
        if (259 - units - 1 - letters == 1) --letters;  // never leave room for a bare "/"
        if (wide.size() > dir.path().string().size()) std::filesystem::create_directory(wide);
        wide += "/";
        for (std::size_t i = 0; i < letters; ++i) wide += "\xC3\xA9";
        units += 1 + letters;
    }
    ASSERT_EQ(units, 259u);
    ASSERT_OK(e.WriteUnitDatabase(wide));
    ASSERT_OK(back.ReadUnitDatabase(wide, OVERWRITE));
    EXPECT_EQ(dump(back), dump(e));
}

}  // namespace
}  // namespace kestrum::test
