#include "test_support.h"

#include "result_names.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace kestrum::test {

std::string codeName(Result rc) { return test_support::resultName(rc); }

::testing::AssertionResult near(double actual, double expected, double relative) {
    const double tolerance = std::abs(expected) * relative;
    if (std::abs(actual - expected) <= tolerance) return ::testing::AssertionSuccess();
    std::ostringstream out;
    out.precision(17);
    out << actual << " is not within " << relative << " (relative) of " << expected;
    return ::testing::AssertionFailure() << out.str();
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrum-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may leave folders read-only; make them removable first.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(m_path, ec);
}

void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) ADD_FAILURE() << "cannot write " << path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

const std::string_view kEmptyDatabaseFile =
    "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n"
    "<UNITS_DATABASE>\r\n"
    "\t<QUANTITIES>\r\n"
    "\t</QUANTITIES>\r\n"
    "\t<UNITS>\r\n"
    "\t</UNITS>\r\n"
    "\t<UNIT_SYSTEMS>\r\n"
    "\t</UNIT_SYSTEMS>\r\n"
    "</UNITS_DATABASE>\r\n";

void addQuantity(Engine& e, std::string_view name, std::initializer_list<std::int16_t> vector) {
    std::vector<std::int16_t> full(vector);
    full.resize(kBaseDimensions, 0);
    EXPECT_OK(e.Quantity_Add(name)) << name;
    EXPECT_OK(e.Quantity_DimVector_Replace(name, full)) << name;
}

void addQuantityExpression(Engine& e, std::string_view name, std::string_view expression) {
    EXPECT_OK(e.Quantity_Add(name)) << name;
    EXPECT_OK(e.Quantity_Expression_Replace(name, expression)) << name;
}

void addUnit(Engine& e, std::string_view name, std::string_view quantity, double factor, double offset) {
    EXPECT_OK(e.Unit_Add(name, quantity)) << name;
    EXPECT_OK(e.Unit_ConversionFactor_Replace(name, factor)) << name;
    if (offset != 0.0) {
        EXPECT_OK(e.Unit_ConversionOffset_Replace(name, offset)) << name;
    }
}

void addUnitExpression(Engine& e, std::string_view name, std::string_view quantity, std::string_view expression) {
    EXPECT_OK(e.Unit_Add(name, quantity)) << name;
    EXPECT_OK(e.Unit_Expression_Replace(name, expression)) << name;
}

void setPreferred(Engine& e, std::string_view system, std::string_view quantity, std::string_view unit) {
    EXPECT_OK(e.UnitSystem_PrefUnit_Replace(system, quantity, unit)) << system << " " << quantity;
}

void buildSmallDatabase(Engine& e) {
    addQuantity(e, "Mass", {1});
    addQuantity(e, "Length", {0, 1});
    addQuantity(e, "Time", {0, 0, 1});
    addQuantity(e, "Temperature", {0, 0, 0, 0, 1});
    addQuantityExpression(e, "Velocity", "Length/Time");
    addQuantityExpression(e, "Energy", "Mass*Length^2/Time^2");
    addQuantityExpression(e, "Power", "Energy/Time");
    addUnit(e, "kg", "Mass", 1);
    addUnit(e, "lb", "Mass", 0.45359237);
    addUnit(e, "m", "Length", 1);
    addUnit(e, "km", "Length", 1000);
    addUnit(e, "ft", "Length", 0.3048);
    addUnit(e, "s", "Time", 1);
    addUnit(e, "h", "Time", 3600);
    addUnit(e, "K", "Temperature", 1);
    addUnit(e, "degC", "Temperature", 1, 273.15);
    addUnit(e, "degF", "Temperature", 5.0 / 9.0, 459.67 * 5.0 / 9.0);
    addUnit(e, "J", "Energy", 1);
    addUnit(e, "btu", "Energy", 1055.05585262);
    addUnit(e, "W", "Power", 1);
    EXPECT_OK(e.UnitSystem_Add("SI"));
    EXPECT_OK(e.UnitSystem_Add("English"));
    for (auto [quantity, si, english] : {std::tuple{"Mass", "kg", "lb"}, std::tuple{"Length", "m", "ft"},
                                         std::tuple{"Time", "s", "h"}, std::tuple{"Temperature", "K", "degF"}}) {
        setPreferred(e, "SI", quantity, si);
        setPreferred(e, "English", quantity, english);
    }
}

namespace {

std::string exact(double v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string joined(const std::vector<std::string>& list) {
    std::string out;
    for (const auto& s : list) out += "[" + s + "]";
    return out;
}

}  // namespace

std::string dump(Engine& e) {
    std::ostringstream out;
    std::vector<std::string> quantities, units, systems, list;
    EXPECT_OK(e.Quantity_Set(quantities));
    EXPECT_OK(e.Unit_Set(units));
    EXPECT_OK(e.UnitSystem_Set(systems));
    for (const auto& q : quantities) {
        std::string expression;
        std::vector<std::int16_t> vector;
        EXPECT_OK(e.Quantity_Expression(q, expression));
        EXPECT_OK(e.Quantity_DimVector(q, vector));
        out << "quantity " << q << " expr=" << expression << " dims=";
        for (auto d : vector) out << d << ",";
        EXPECT_OK(e.Quantity_Synonym_Set(q, list));
        out << " synonyms=" << joined(list);
        EXPECT_OK(e.Quantity_Unit_Set(q, list));
        out << " units=" << joined(list) << "\n";
    }
    for (const auto& u : units) {
        std::string quantity, expression, symbol;
        double factor = 0, offset = 0;
        EXPECT_OK(e.Unit_Quantity(u, quantity));
        EXPECT_OK(e.Unit_Expression(u, expression));
        EXPECT_OK(e.Unit_Symbol(u, symbol));
        EXPECT_OK(e.Unit_ConversionFactor(u, factor));
        EXPECT_OK(e.Unit_ConversionOffset(u, offset));
        EXPECT_OK(e.Unit_Synonym_Set(u, list));
        out << "unit " << u << " quantity=" << quantity << " expr=" << expression << " factor=" << exact(factor)
            << " offset=" << exact(offset) << " symbol=" << symbol << " synonyms=" << joined(list) << "\n";
    }
    for (const auto& s : systems) {
        out << "system " << s << ":";
        for (const auto& q : quantities) {
            std::string preferred;
            EXPECT_OK(e.UnitSystem_PrefUnit(s, q, preferred));
            out << " " << q << "=" << preferred;
        }
        out << "\n";
    }
    return out.str();
}

void EngineTest::SetUp() {
    const std::string path = dir.file("empty.xml");
    writeFile(path, kEmptyDatabaseFile);
    ASSERT_OK(e.Initialize(path));
}

void SmallDatabaseTest::SetUp() {
    EngineTest::SetUp();
    buildSmallDatabase(e);
}

double SmallDatabaseTest::convert(double value, std::string_view from, std::string_view to) {
    double add = 0, multiplyBy = 0;
    const Result rc = e.UnitExpression_Convert(from, to, add, multiplyBy);
    EXPECT_OK(rc) << from << " -> " << to;
    return value * multiplyBy + add;
}

}  // namespace kestrum::test
