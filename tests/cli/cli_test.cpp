// The kestrum command, driven through Cli::run with string streams over a small database
// that each test writes for itself.
#include "cli.h"

#include <kestrum/engine.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using kestrum::cli::Environment;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("kestrum-cli-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_db = (m_dir / "units.xml").string();
        kestrum::Engine e;
        const std::int16_t length[] = {0, 1}, time[] = {0, 0, 1}, temperature[] = {0, 0, 0, 0, 1};
        e.Quantity_Add("Length");
        e.Quantity_DimVector_Replace("Length", length);
        e.Quantity_Add("Time");
        e.Quantity_DimVector_Replace("Time", time);
        e.Quantity_Add("Temperature");
        e.Quantity_DimVector_Replace("Temperature", temperature);
        e.Quantity_Add("Velocity");
        e.Quantity_Expression_Replace("Velocity", "Length/Time");
        auto unit = [&](const char* name, const char* quantity, double factor, double offset, const char* symbol) {
            e.Unit_Add(name, quantity);
            e.Unit_ConversionFactor_Replace(name, factor);
            e.Unit_ConversionOffset_Replace(name, offset);
            e.Unit_Symbol_Replace(name, symbol);
        };
        unit("metre", "Length", 1, 0, "m");
        unit("km", "Length", 1000, 0, "km");
        unit("foot", "Length", 0.3048, 0, "ft");
        unit("second", "Time", 1, 0, "s");
        unit("hour", "Time", 3600, 0, "h");
        unit("kelvin", "Temperature", 1, 0, "K");
        unit("degC", "Temperature", 1, 273.15, "\xC2\xB0" "C");
        unit("degF", "Temperature", 5.0 / 9.0, 459.67 * 5.0 / 9.0, "\xC2\xB0" "F");
        e.Unit_Synonym_Add("metre", "m");
        e.Unit_Synonym_Add("second", "s");
        e.Unit_Synonym_Add("hour", "h");
        e.UnitSystem_Add("SI");
        e.UnitSystem_Add("English");
        e.UnitSystem_PrefUnit_Replace("SI", "Length", "metre");
        e.UnitSystem_PrefUnit_Replace("SI", "Time", "second");
        e.UnitSystem_PrefUnit_Replace("English", "Length", "foot");
        e.UnitSystem_PrefUnit_Replace("English", "Time", "hour");
        ASSERT_EQ(e.WriteUnitDatabase(m_db), kestrum::S_OK);
        m_env.shippedDatabase = m_db;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    int run(std::vector<std::string> args, const std::string& input = {}) {
        std::istringstream in(input);
        std::ostringstream out, err;
        kestrum::Engine engine;
        const int rc = kestrum::cli::run(args, m_env, engine, in, out, err);
        m_out = out.str();
        m_err = err.str();
        return rc;
    }

    fs::path m_dir;
    std::string m_db;
    Environment m_env;
    std::string m_out, m_err;
};

}  // namespace

TEST_F(CliTest, ConvertPrintsFifteenSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(run({"convert", "100", "degC", "degF"}), 0);
    EXPECT_EQ(m_out, "212\n");
    EXPECT_EQ(run({"convert", "1", "km/hour", "m/s"}), 0);
    EXPECT_EQ(m_out, "0.277777777777778\n");
    EXPECT_EQ(run({"convert", "1.5e3", "m", "km"}), 0);
    EXPECT_EQ(m_out, "1.5\n");
}

TEST_F(CliTest, NegativeValueIsAValueAndDoubleDashEndsOptions) {
    EXPECT_EQ(run({"convert", "-40", "degC", "degF"}), 0);
    EXPECT_EQ(m_out, "-40\n");
    EXPECT_EQ(run({"convert", "-.5", "km", "m"}), 0);
    EXPECT_EQ(m_out, "-500\n");
    EXPECT_EQ(run({"--", "convert", "-1", "km", "m"}), 0);
    EXPECT_EQ(m_out, "-1000\n");
}

TEST_F(CliTest, FactorPrintsShortestExactForms) {
    EXPECT_EQ(run({"factor", "km", "m"}), 0);
    EXPECT_EQ(m_out, "1000 0\n");
    EXPECT_EQ(run({"factor", "degC", "kelvin"}), 0);
    EXPECT_EQ(m_out, "1 273.15\n");
    EXPECT_EQ(run({"factor", "hour", "second"}), 0);
    EXPECT_EQ(m_out, "3600 0\n");
}

TEST_F(CliTest, BatchGoesOnAfterAFailedPairAndReportsIt) {
    EXPECT_EQ(run({"factor", "--batch"}, "km m\n\nnowhere m\nkm\r\nfoot metre\n"), 1);
    EXPECT_EQ(m_out, "1000 0\nerror: Unit Not Found\nerror: expected FROM TO\n0.3048 0\n");
    EXPECT_EQ(run({"factor", "--batch"}, "km m\n"), 0);
}

TEST_F(CliTest, SymbolsAndQuantityExpressions) {
    EXPECT_EQ(run({"symbol", "km/hour^2"}), 0);
    EXPECT_EQ(m_out, "km/h\xC2\xB2\n");
    EXPECT_EQ(run({"qsymbol", "English", "Velocity"}), 0);
    EXPECT_EQ(m_out, "ft/h\n");
    EXPECT_EQ(run({"qfactor", "SI", "English", "Length"}), 0);
    EXPECT_EQ(m_out, "3.280839895013123 0\n");
    EXPECT_EQ(run({"qconvert", "1", "English", "SI", "Velocity"}), 0);
    EXPECT_EQ(m_out, "8.46666666666667e-05\n");
}

TEST_F(CliTest, ListsInKeyOrderWithDisplayNames) {
    EXPECT_EQ(run({"list", "systems"}), 0);
    EXPECT_EQ(m_out, "English\nSI\n");
    EXPECT_EQ(run({"list", "units", "length"}), 0);
    EXPECT_EQ(m_out, "foot\nkm\nmetre\n");
    EXPECT_EQ(run({"list", "quantities"}), 0);
    EXPECT_EQ(m_out, "Length\nTemperature\nTime\nVelocity\n");
    EXPECT_EQ(run({"list", "units", "Mass"}), 1);
    EXPECT_EQ(m_err, "kestrum: Quantity Not Found\n");
}

TEST_F(CliTest, EngineRefusalsExitOneWithTheEngineMessage) {
    EXPECT_EQ(run({"convert", "1", "furlong", "m"}), 1);
    EXPECT_EQ(m_err, "kestrum: Unit Not Found\n");
    EXPECT_EQ(m_out, "");
    EXPECT_EQ(run({"convert", "1", "m", "second"}), 0);
    EXPECT_EQ(run({"--dimensions", "convert", "1", "m", "second"}), 1);
    EXPECT_EQ(m_err, "kestrum: Dimensional Analysis of the Two Units is Different\n");
}

TEST_F(CliTest, UsageErrorsExitTwo) {
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({"convert", "1", "m"}), 2);
    EXPECT_EQ(run({"convert", "abc", "m", "km"}), 2);
    EXPECT_EQ(run({"convert", "nan", "m", "km"}), 2);
    EXPECT_EQ(run({"convert", "0x10", "m", "km"}), 2);
    EXPECT_EQ(run({"frobnicate"}), 2);
    EXPECT_EQ(run({"--colour", "list", "units"}), 2);
    EXPECT_EQ(run({"--db"}), 2);
    EXPECT_NE(m_err.find("usage: kestrum"), std::string::npos);
}

TEST_F(CliTest, VersionAndHelp) {
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(m_out, "1.01\n");
    EXPECT_EQ(run({"--help"}), 0);
    for (const char* text : {"convert VALUE FROM TO", "factor --batch", "edit 'OPERATION ARG...'",
                             "Unit_ConversionFactor_Replace", "kestrum convert 100 degC degF"})
        EXPECT_NE(m_out.find(text), std::string::npos) << text;
}

TEST_F(CliTest, DatabaseComesFromOptionThenEnvironmentThenShippedFile) {
    const std::string other = (m_dir / "other.xml").string();
    kestrum::Engine e;
    e.Quantity_Add("Money");
    ASSERT_EQ(e.WriteUnitDatabase(other), kestrum::S_OK);

    m_env.databaseFromEnvironment = other;
    EXPECT_EQ(run({"list", "quantities"}), 0);
    EXPECT_EQ(m_out, "Money\n");
    EXPECT_EQ(run({"--db", m_db, "list", "systems"}), 0);
    EXPECT_EQ(m_out, "English\nSI\n");
    EXPECT_EQ(run({"--db=" + other, "list", "systems"}), 0);
    EXPECT_EQ(m_out, "");

    EXPECT_EQ(run({"--db", (m_dir / "missing.xml").string(), "list", "units"}), 1);
    EXPECT_NE(m_err.find("Unit Database File Not Found"), std::string::npos);
    EXPECT_NE(m_err.find("missing.xml"), std::string::npos);
}

TEST_F(CliTest, EditAppliesEveryOperationAndSaves) {
    EXPECT_EQ(run({"--db", m_db, "edit", "Unit_Add furlong Length", "Unit_ConversionFactor_Replace furlong 201.168",
                   "Unit_Symbol_Replace furlong fur long", "Unit_Synonym_Add furlong fur",
                   "Quantity_Add Speed2", "Quantity_DimVector_Replace Speed2 0 1 -1",
                   "UnitSystem_PrefUnit_Replace English Length furlong"}),
              0)
        << m_err;
    kestrum::Engine e;
    ASSERT_EQ(e.Initialize(m_db), kestrum::S_OK);
    double factor = 0;
    std::string symbol, preferred;
    std::vector<std::int16_t> vector;
    EXPECT_EQ(e.Unit_ConversionFactor("FUR", factor), kestrum::S_OK);
    EXPECT_EQ(factor, 201.168);
    EXPECT_EQ(e.Unit_Symbol("furlong", symbol), kestrum::S_OK);
    EXPECT_EQ(symbol, "fur long");  // the last argument takes the rest, spaces included
    EXPECT_EQ(e.Quantity_DimVector("speed2", vector), kestrum::S_OK);
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, 1, -1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(e.UnitSystem_PrefUnit("English", "Length", preferred), kestrum::S_OK);
    EXPECT_EQ(preferred, "furlong");

    EXPECT_EQ(run({"--db", m_db, "edit", "Unit_Symbol_Replace furlong "}), 0);  // empty clears
    kestrum::Engine reread;
    ASSERT_EQ(reread.Initialize(m_db), kestrum::S_OK);
    EXPECT_EQ(reread.Unit_Symbol("furlong", symbol), kestrum::S_OK);
    EXPECT_EQ(symbol, "");
}

TEST_F(CliTest, EditStopsAtTheFirstFailureAndLeavesTheFileUntouched) {
    const std::string before = readFile(m_db);
    EXPECT_EQ(run({"--db", m_db, "edit", "Unit_Add furlong Length", "Unit_Add chain Area"}), 1);
    EXPECT_NE(m_err.find("Quantity Not Found"), std::string::npos);
    EXPECT_NE(m_err.find("Unit_Add chain Area"), std::string::npos);
    EXPECT_EQ(readFile(m_db), before);

    EXPECT_EQ(run({"--db", m_db, "edit", "Unit_Add furlong"}), 2);
    EXPECT_EQ(run({"--db", m_db, "edit", "Unit_Explode furlong"}), 2);
    EXPECT_EQ(run({"--db", m_db, "edit", "Unit_ConversionFactor_Replace metre fast"}), 2);
    EXPECT_EQ(run({"--db", m_db, "edit", "Quantity_DimVector_Replace Length"}), 2);
    EXPECT_EQ(run({"--db", m_db, "edit", "Quantity_DimVector_Replace Length 1 2 3 4 5 6 7 8 9 10 11"}), 2);
    EXPECT_EQ(run({"--db", m_db, "edit", "Quantity_DimVector_Replace Length 99999"}), 2);
    EXPECT_EQ(readFile(m_db), before);
}

TEST_F(CliTest, EditNeedsAnExplicitDatabaseFile) {
    EXPECT_EQ(run({"edit", "Quantity_Add Money"}), 2);
    EXPECT_NE(m_err.find("--db"), std::string::npos);
}

TEST(CliShippedDatabase, FoundBesideTheProgramOrInShareKestrum) {
    const fs::path root = fs::temp_directory_path() / ("kestrum-layout-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share" / "kestrum");
    std::ofstream(root / "share" / "kestrum" / "Unit_Database.xml") << "<UNITS_DATABASE/>";
    EXPECT_EQ(fs::path(kestrum::cli::findShippedDatabase((root / "bin" / "kestrum").string())),
              fs::canonical(root / "share" / "kestrum" / "Unit_Database.xml"));
    std::ofstream(root / "bin" / "Unit_Database.xml") << "<UNITS_DATABASE/>";
    EXPECT_EQ(fs::path(kestrum::cli::findShippedDatabase((root / "bin" / "kestrum").string())),
              fs::canonical(root / "bin" / "Unit_Database.xml"));
    EXPECT_EQ(kestrum::cli::findShippedDatabase((root / "nowhere" / "kestrum").string()), "");
    fs::remove_all(root);
}

TEST(CliProgram, RunsAsAProcessWithExitStatus) {
    const std::string program = std::string(KESTRUM_BINARY_DIR) + "/bin/kestrum";
    FILE* pipe = ::popen((program + " --version").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[32] = {};
    ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
    EXPECT_STREQ(line, "1.01\n");
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_EQ(WEXITSTATUS(std::system((program + " bogus >/dev/null 2>&1").c_str())), 2);
}
