// kestrum-build-database and its parts: the committed database is exactly what the tables
// build, and the builder refuses tables or definitions that would ship a wrong number.
#include "data_test_support.h"

namespace kestrum::datatest {
namespace {

CommandResult buildDatabase(const fs::path& dataDir, const fs::path& output) {
    return runCommand(quoted(program("kestrum-build-database").string()) + " --data " + quoted(dataDir.string()) +
                      " --output " + quoted(output.string()) + " 2>&1");
}

// A copy of the tables in a temporary folder, with one file's text changed.
void copyTables(const fs::path& to) {
    for (const char* name : {"quantities.csv", "units.csv", "unit_systems.csv", "definitions.csv"})
        fs::copy_file(sourceData() / name, to / name);
}

void replaceInFile(const fs::path& file, const std::string& from, const std::string& to) {
    std::string text = readFile(file);
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    std::ofstream(file, std::ios::binary) << text;
}

TEST(BuildDatabase, RebuildsTheCommittedFileByteForByte) {
    TempDir dir;
    const auto output = dir.path() / "Unit_Database.xml";
    const CommandResult result = buildDatabase(sourceData(), output);
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_TRUE(readFile(output) == readFile(shippedDatabase()))
        << "data/Unit_Database.xml is stale: run cmake --build <build dir> --target unit_database";
}

TEST(BuildDatabase, WritesNothingWhenADefinitionChangesAFactor) {
    TempDir dir;
    copyTables(dir.path());
    // foot^3 is 0.028316846592000004, one ulp above the table's cubic foot.
    std::ofstream(dir.path() / "definitions.csv", std::ios::app) << "unit,cubic_foot,foot^3\n";
    const auto output = dir.path() / "Unit_Database.xml";
    const CommandResult result = buildDatabase(dir.path(), output);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("cubic_foot factor is 0.028316846592000004, the tables say 0.028316846592"),
              std::string::npos)
        << result.out;
    EXPECT_FALSE(fs::exists(output));
    EXPECT_FALSE(fs::exists(dir.path() / "Unit_Database.xml.new"));
}

TEST(BuildDatabase, RefusesADefinitionWithTheRightFactorButTheWrongDimensions) {
    TempDir dir;
    copyTables(dir.path());
    std::ofstream(dir.path() / "definitions.csv", std::ios::app) << "unit,foot_per_second,foot\n";
    const auto output = dir.path() / "Unit_Database.xml";
    const CommandResult result = buildDatabase(dir.path(), output);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("foot_per_second = foot"), std::string::npos) << result.out;
    EXPECT_FALSE(fs::exists(output));
}

TEST(BuildDatabase, KeepsTheOldFileWhenTheTablesAreBroken) {
    TempDir dir;
    copyTables(dir.path());
    replaceInFile(dir.path() / "units.csv", "foot,ft,Length,0.3048,", "foot,ft,Length,0.3048m,");
    const auto output = dir.path() / "Unit_Database.xml";
    std::ofstream(output, std::ios::binary) << "previous";
    const CommandResult result = buildDatabase(dir.path(), output);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("units.csv:13: factor '0.3048m'"), std::string::npos) << result.out;
    EXPECT_EQ(readFile(output), "previous");
}

TEST(ReferenceTables, RefuseMalformedFilesWithTheirLine) {
    struct Row {
        const char* file;
        const char* from;
        const char* to;
        const char* message;
    };
    const Row rows[] = {
        {"quantities.csv", "Length,0,1,0", "Length,0,1.5,0", "quantities.csv:3: exponent '1.5'"},
        {"quantities.csv", "name,KG", "nom,KG", "quantities.csv:1: header"},
        {"units.csv", "inch,in,Length,0.0254,0,", "inch,in,Length,0.0254,,", "units.csv:12: offset ''"},
        {"units.csv", "yard,yd,Length,0.9144,", "yard,yd,Length,-0.9144,", "units.csv:14: factor '-0.9144'"},
        {"units.csv", "mile,mi,Length,1609.344,0,", "mile,mi,Length,0x1p3,0,", "units.csv:15: factor '0x1p3'"},
        {"units.csv", ",SI9,metres;", ",SI9,extra,metres;", "units.csv:2: 9 fields"},
        {"unit_systems.csv", "Mass,kilogram", "Mass,\"kilogram\"", "unit_systems.csv:2: quoted"},
        {"definitions.csv", "quantity,Area,", "quantity,Areas,", "definitions.csv:2: quantity 'Areas'"},
        {"definitions.csv", "unit,hertz,", "units,hertz,", "definitions.csv:"},
    };
    for (const auto& row : rows) {
        TempDir dir;
        copyTables(dir.path());
        replaceInFile(dir.path() / row.file, row.from, row.to);
        data::ReferenceTables tables;
        std::string error;
        EXPECT_FALSE(data::loadReferenceTables(dir.path(), tables, error)) << row.to;
        EXPECT_NE(error.find(row.message), std::string::npos) << error;
    }
}

TEST(DatabaseBuilder, ReportsEveryEditTheEngineRefuses) {
    data::ReferenceTables tables = datatest::tables();
    auto unit = [&tables](const std::string& name) {
        return std::find_if(tables.units.begin(), tables.units.end(), [&](const auto& u) { return u.name == name; });
    };
    unit("decimetre")->synonyms.push_back("2cm");         // reads as a number
    unit("yard")->synonyms.push_back("FT");               // foot's synonym, in other case
    tables.preferredUnits[0].units[1] = "no_such_unit";  // English prefers a missing unit
    Engine engine;
    const auto refused = data::buildDatabase(engine, tables);
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_NE(refused[0].find("Unit_Synonym_Add decimetre 2cm: " + ErrorMessage(E_NAME_NOT_ACCEPTABLE)),
              std::string::npos)
        << refused[0];
    EXPECT_NE(refused[1].find("Unit_Synonym_Add yard FT: " + ErrorMessage(E_NAME_EXISTS)), std::string::npos)
        << refused[1];
    const auto differences = data::compareWithTables(engine, tables);
    EXPECT_NE(std::find_if(differences.begin(), differences.end(),
                           [](const std::string& d) { return d.find("English Mass preferred unit") == 0; }),
              differences.end());
}

}  // namespace
}  // namespace kestrum::datatest
