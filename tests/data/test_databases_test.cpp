// The small databases that the component's, the converter's, the edit control's and the fuzz
// targets' fixtures share: each loads as it is and holds what those suites build on, so an
// edit made for one suite cannot quietly change what another one tests.
#include "data_test_support.h"

#include <test_databases.h>

#include <algorithm>

namespace kestrum::datatest {
namespace {

struct Expected {
    const char* file;
    std::size_t quantities;
    std::size_t units;
    std::vector<std::string> systems;
};

TEST(TestDatabases, EachLoadsWithTheItemsItsFixturesDescribe) {
    const Expected expected[] = {
        {"component_small.xml", 4, 5, {"SI", "English"}},
        {"converter_small.xml", 5, 9, {"SI", "English"}},
        {"converter_angle.xml", 1, 1, {"Nautical"}},
        {"editctl_small.xml", 1, 4, {"English", "Metric", "Bare"}},
        // The units broken and trap share their names with quantities: the file's 97 load as 95.
        {"fuzz_fixed.xml", 72, 95, {"SI", "English", "Bare", "Odd"}},
    };
    const TempDir dir;
    for (const auto& want : expected) {
        SCOPED_TRACE(want.file);
        const std::string path = (dir.path() / want.file).string();
        ASSERT_TRUE(test::writeTestDatabase(want.file, path));
        Engine engine;
        ASSERT_EQ(engine.ReadUnitDatabase(path, OVERWRITE), S_OK);
        std::vector<std::string> quantities, units, systems;
        ASSERT_EQ(engine.Quantity_Set(quantities), S_OK);
        ASSERT_EQ(engine.Unit_Set(units), S_OK);
        ASSERT_EQ(engine.UnitSystem_Set(systems), S_OK);
        EXPECT_EQ(quantities.size(), want.quantities);
        EXPECT_EQ(units.size(), want.units);
        std::vector<std::string> sortedWant = want.systems;
        std::sort(sortedWant.begin(), sortedWant.end());
        std::sort(systems.begin(), systems.end());
        EXPECT_EQ(systems, sortedWant);
    }
}

TEST(TestDatabases, TheComponentsAngleHasNoPreferredUnitAndTheConvertersDegFKeepsItsDigits) {
    const TempDir dir;
    const std::string component = (dir.path() / "component.xml").string();
    ASSERT_TRUE(test::writeTestDatabase("component_small.xml", component));
    Engine engine;
    ASSERT_EQ(engine.ReadUnitDatabase(component, OVERWRITE), S_OK);
    for (const char* system : {"SI", "English"}) {
        std::string unit = "x";
        ASSERT_EQ(engine.UnitSystem_PrefUnit(system, "Angle", unit), S_OK);
        EXPECT_EQ(unit, "") << system;
    }

    const std::string converter = (dir.path() / "converter.xml").string();
    ASSERT_TRUE(test::writeTestDatabase("converter_small.xml", converter));
    ASSERT_EQ(engine.ReadUnitDatabase(converter, OVERWRITE), S_OK);
    double factor = 0;
    ASSERT_EQ(engine.Unit_ConversionFactor("degF", factor), S_OK);
    EXPECT_EQ(factor, 0.5555555555555556) << "a factor that 15 digits would round";
    std::string expression;
    ASSERT_EQ(engine.Unit_Expression("kmh", expression), S_OK);
    EXPECT_EQ(expression, "kilometre/hour");
}

}  // namespace
}  // namespace kestrum::datatest
