// The kestrum command on the shipped database, driven through cli::run with string streams,
// and as a process where only a process shows it (exit status, write failures).
#include "cli.h"

#include <kestrum/engine.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using kestrum::cli::Environment;

namespace {

const std::string kShippedDatabase = std::string(KESTRUM_SOURCE_DIR) + "/data/Unit_Database.xml";
const std::string kProgram = std::string(KESTRUM_BINARY_DIR) + "/bin/kestrum";

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A stream buffer whose every write fails, as a full disk does.
class FailingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("kestrum-cli-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_env.shippedDatabase = kShippedDatabase;
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
    // A copy of the shipped database for the edits to change.
    std::string copyOfShippedDatabase() {
        const fs::path copy = m_dir / "units.xml";
        fs::copy_file(kShippedDatabase, copy, fs::copy_options::overwrite_existing);
        return copy.string();
    }

    fs::path m_dir;
    Environment m_env;
    std::string m_out, m_err;
};

struct Printed {
    std::vector<std::string> args;
    const char* out;
};

}  // namespace

TEST_F(Cli, ConvertedValuesShowNoDigitsBelowTheirAccuracy) {
    const Printed rows[] = {
        {{"convert", "1", "km/h", "m/s"}, "0.277777777777778\n"},
        {{"convert", "1.5e3", "m", "km"}, "1.5\n"},
        {{"convert", "-.5", "km", "m"}, "-500\n"},
        {{"convert", "-273.14", "degC", "K"}, "0.01\n"},  // the difference of two offsets
        {{"convert", "32", "degF", "degC"}, "0\n"},       // zero within its own rounding
        {{"convert", "0", "m", "ft"}, "0\n"},
        {{"convert", "-0", "m", "ft"}, "0\n"},
        {{"--digits", "4", "convert", "1", "btu/h", "W"}, "0.2931\n"},
        {{"--digits=1", "convert", "1", "btu/h", "W"}, "0.3\n"},
        {{"--digits", "17", "convert", "1", "km/h", "m/s"}, "0.2777777777777778\n"},
        {{"qconvert", "1", "English", "SI", "Length"}, "0.3048\n"},
        {{"factor", "degF", "degC"}, "0.5555555555555556 -17.77777777777777\n"},  // factor stays exact
    };
    for (const auto& row : rows) {
        EXPECT_EQ(run(row.args), 0) << row.args[1] << ": " << m_err;
        EXPECT_EQ(m_out, row.out) << row.args[1] << " " << row.args[2];
    }
    for (const char* digits : {"0", "18", "x", "4x", ""}) {
        EXPECT_EQ(run({"--digits", digits, "convert", "1", "m", "ft"}), 2) << digits;
        EXPECT_NE(m_err.find("--digits"), std::string::npos);
    }
}

TEST_F(Cli, TemperaturesPrintAsRoundNumbers) {
    const Printed rows[] = {
        {{"convert", "0", "degC", "degF"}, "32\n"},      {{"convert", "100", "degC", "degF"}, "212\n"},
        {{"convert", "-40", "degC", "degF"}, "-40\n"},   {{"convert", "37", "degC", "degF"}, "98.6\n"},
        {{"convert", "32", "degF", "degC"}, "0\n"},      {{"convert", "212", "degF", "degC"}, "100\n"},
        {{"convert", "98.6", "degF", "degC"}, "37\n"},   {{"convert", "0", "K", "degC"}, "-273.15\n"},
        {{"convert", "20", "degC", "K"}, "293.15\n"},    {{"convert", "-40", "\xC2\xB0" "F", "\xC2\xB0" "C"}, "-40\n"},
        {{"convert", "1", "delta_degC", "delta_degF"}, "1.8\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(run(row.args), 0) << m_err;
        EXPECT_EQ(m_out, row.out) << row.args[1] << " " << row.args[2] << " in " << row.args[3];
    }
}

TEST_F(Cli, DifferentDimensionsAreRefusedUnlessAllowed) {
    EXPECT_EQ(run({"convert", "1", "m", "s"}), 1);
    EXPECT_EQ(m_out, "");
    EXPECT_EQ(m_err,
              "kestrum: m (Length) to s (Time): Dimensional Analysis of the Two Units is Different; "
              "--ignore-dimensions converts anyway\n");
    EXPECT_EQ(run({"--dimensions", "convert", "1", "m", "s"}), 1);  // still accepted
    EXPECT_EQ(run({"--ignore-dimensions", "convert", "1", "m", "s"}), 0);
    EXPECT_EQ(m_out, "1\n");
    EXPECT_EQ(run({"convert", "1", "m", "s", "--ignore-dimensions"}), 0);  // options go anywhere
    EXPECT_EQ(run({"--ignore-dimensions", "--dimensions", "convert", "1", "m", "s"}), 1);  // the last one counts
    EXPECT_EQ(run({"factor", "J", "N*m"}), 0);  // Energy and Torque share their dimensions
    EXPECT_EQ(run({"factor", "kg", "lbf"}), 1);
    EXPECT_NE(m_err.find("kg (Mass) to lbf (Force)"), std::string::npos) << m_err;
    EXPECT_EQ(run({"qfactor", "SI", "English", "Length"}), 0);
    EXPECT_EQ(m_out, "3.280839895013123 0\n");
}

TEST_F(Cli, MessagesNameWhatTheyAreAboutAndWhatWasMeant) {
    struct Row {
        std::vector<std::string> args;
        const char* err;
    };
    const Row rows[] = {
        {{"convert", "1", "furlongz", "m"}, "kestrum: furlongz: Unit Not Found; did you mean furlong?\n"},
        {{"convert", "1", "m", "100furlongz"}, "kestrum: furlongz: Unit Not Found; did you mean furlong?\n"},
        {{"convert", "1", "mW", "W"}, "kestrum: mW: Unit Not Found; did you mean milliwatt (mW) or megawatt (MW)?\n"},
        {{"convert", "1", "MPa", "psi"},
         "kestrum: MPa: Unit Not Found; did you mean megapascal (MPa) or millipascal (mPa)?\n"},
        {{"convert", "1", "t", "kg"}, "kestrum: t: Unit Not Found; did you mean tonne (t) or tesla (T)?\n"},
        {{"convert", "1", "kg*m^*s", "m"}, "kestrum: kg*m^*s: An Input Expression is Invalid\n"},
        {{"convert", "1", "m", ""}, "kestrum: m (Length) to '' (Gas_Oil_Ratio, Ratio): Dimensional Analysis of the Two Units is Different; "
                                    "--ignore-dimensions converts anyway\n"},
        {{"--ignore-dimensions", "convert", "1", "m", ""}, "kestrum: m to '': Divide by Zero Error, Notify Tech Support\n"},
        {{"symbol", "kg*furlongz"}, "kestrum: furlongz: Unit Not Found; did you mean furlong?\n"},
        {{"list", "units", "Lenght"}, "kestrum: Lenght: Quantity Not Found; did you mean Length?\n"},
        {{"qsymbol", "SI", "Mass/Lenght"}, "kestrum: Lenght: Quantity Not Found; did you mean Length?\n"},
        {{"qconvert", "1", "SI", "Englsh", "Length"}, "kestrum: Englsh: Unit System Not Found; did you mean English?\n"},
        {{"convert", "1e308", "km", "m"}, "kestrum: 1e308 km in m: the result is beyond the range of a double\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(run(row.args), 1) << row.args[1];
        EXPECT_EQ(m_err, row.err);
        EXPECT_EQ(m_out, "");
    }
}

TEST_F(Cli, BatchGoesOnAfterAFailedPairAndReportsIt) {
    EXPECT_EQ(run({"factor", "--batch"}, "km m\n\nfurlongz m\nkm\r\nft m\nm s\n"), 1);
    EXPECT_EQ(m_out,
              "1000 0\nerror: furlongz: Unit Not Found; did you mean furlong?\nerror: expected FROM TO\n0.3048 0\n"
              "error: m (Length) to s (Time): Dimensional Analysis of the Two Units is Different; "
              "--ignore-dimensions converts anyway\n");
    EXPECT_EQ(run({"factor", "--batch"}, "km m\n"), 0);
    EXPECT_EQ(run({"--ignore-dimensions", "factor", "--batch"}, "m s\n"), 0);
}

TEST_F(Cli, BatchAnywhereButRightAfterFactorIsAUsageError) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--batch"}, {"--batch", "factor"}, {"factor", "m", "--batch"},
          {"factor", "--batch", "m"}, {"convert", "--batch", "1", "m"}, {"symbol", "--batch"},
          {"list", "--batch"}, {"compatible", "--batch"}}) {
        EXPECT_EQ(run(args), 2) << args.back();
        EXPECT_NE(m_err.find("--batch goes right after factor"), std::string::npos) << m_err;
    }
}

TEST_F(Cli, CompatibleListsEveryUnitOfTheSameDimensionsByQuantity) {
    ASSERT_EQ(run({"compatible", "N*m"}), 0) << m_err;
    std::vector<std::string> quantities;
    std::vector<std::pair<std::string, std::string>> units;  // quantity, unit
    std::istringstream lines(m_out);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("  ")) {
            ASSERT_FALSE(quantities.empty());
            units.push_back({quantities.back(), line.substr(2, line.find(' ', 2) - 2)});
        } else {
            ASSERT_TRUE(line.ends_with(":")) << line;
            quantities.push_back(line.substr(0, line.size() - 1));
        }
    }
    EXPECT_EQ(quantities, (std::vector<std::string>{"Energy", "Torque"}));
    kestrum::Engine e;
    ASSERT_EQ(e.Initialize(kShippedDatabase), kestrum::S_OK);
    ASSERT_EQ(e.EnableDimensionalAnalysis(true), kestrum::S_OK);
    std::size_t expected = 0;
    for (const auto& q : quantities) {
        std::vector<std::string> all;
        ASSERT_EQ(e.Quantity_Unit_Set(q, all), kestrum::S_OK);
        expected += all.size();
    }
    EXPECT_EQ(units.size(), expected);
    for (const auto& [quantity, unit] : units) {
        double add = 0, multiplyBy = 0;
        EXPECT_EQ(e.UnitExpression_Convert("N*m", unit, add, multiplyBy), kestrum::S_OK) << unit;
        std::string of;
        ASSERT_EQ(e.Unit_Quantity(unit, of), kestrum::S_OK);
        EXPECT_EQ(of, quantity);
    }
    EXPECT_NE(m_out.find("  joule (J)\n"), std::string::npos);

    EXPECT_EQ(run({"compatible", "m^5"}), 1);
    EXPECT_EQ(m_err, "kestrum: m^5: no unit in the database has these dimensions\n");
    EXPECT_EQ(run({"compatible", "furlongz/s"}), 1);
    EXPECT_EQ(m_err, "kestrum: furlongz: Unit Not Found; did you mean furlong?\n");
    EXPECT_EQ(run({"compatible", "L/100km"}), 0);
    EXPECT_TRUE(m_out.starts_with("Area:\n")) << m_out;
}

TEST_F(Cli, AnOutputThatCannotBeWrittenFails) {
    FailingBuffer failing;
    std::ostream out(&failing);
    std::ostringstream err;
    std::istringstream in;
    kestrum::Engine engine;
    EXPECT_EQ(kestrum::cli::run({"convert", "1", "m", "ft"}, m_env, engine, in, out, err), 1);
    EXPECT_EQ(err.str(), "kestrum: cannot write the output\n");
}

TEST_F(Cli, SymbolsAndQuantityExpressions) {
    const Printed rows[] = {
        {{"symbol", "km/h^2"}, "km/h\xC2\xB2\n"},
        {{"symbol", "kg*m^-3"}, "kg.m^-3\n"},
        {{"symbol", "L/100km"}, "L/100km\n"},
        {{"symbol", "millipascal"}, "mPa\n"},
        {{"qsymbol", "English", "Velocity"}, "ft/s\n"},
        {{"qsymbol", "SI", "Mass/Length^3"}, "kg/m\xC2\xB3\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(run(row.args), 0) << m_err;
        EXPECT_EQ(m_out, row.out) << row.args[1];
    }
}

TEST_F(Cli, ListsInKeyOrderWithDisplayNames) {
    EXPECT_EQ(run({"list", "systems"}), 0);
    EXPECT_EQ(m_out, "CGS\nEnglish\nImperial\nOilfield\nSI\n");
    EXPECT_EQ(run({"list", "units", "temperature"}), 0);
    EXPECT_EQ(m_out, "degree_celsius\ndegree_fahrenheit\ndegree_rankine\nkelvin\nmillikelvin\n");
}

TEST_F(Cli, UsageErrorsExitTwo) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"convert", "1", "m"}, {"convert", "abc", "m", "km"}, {"convert", "nan", "m", "km"},
          {"convert", "0x10", "m", "km"}, {"convert", "1e400", "m", "km"}, {"frobnicate"}, {"--colour", "list", "units"},
          {"--db"}, {"compatible"}, {"compatible", "m", "s"}}) {
        EXPECT_EQ(run(args), 2) << (args.empty() ? "(nothing)" : args[0]);
        EXPECT_NE(m_err.find("usage: kestrum"), std::string::npos);
    }
}

TEST_F(Cli, VersionAndHelp) {
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(m_out, "1.01\n");
    EXPECT_EQ(run({"--help"}), 0);
    for (const char* text : {"convert VALUE FROM TO", "factor --batch", "compatible EXPR", "--ignore-dimensions",
                             "--digits N", "edit 'OPERATION ARG...'", "Unit_ConversionFactor_Replace"})
        EXPECT_NE(m_out.find(text), std::string::npos) << text;
    for (const auto& example : kestrum::cli::helpExamples())
        EXPECT_NE(m_out.find(std::string("$ ") + example.commandLine + "\n"), std::string::npos) << example.commandLine;
}

TEST_F(Cli, DatabaseComesFromOptionThenEnvironmentThenShippedFile) {
    const std::string other = (m_dir / "other.xml").string();
    kestrum::Engine e;
    e.Quantity_Add("Money");
    ASSERT_EQ(e.WriteUnitDatabase(other), kestrum::S_OK);

    m_env.databaseFromEnvironment = other;
    EXPECT_EQ(run({"list", "quantities"}), 0);
    EXPECT_EQ(m_out, "Money\n");
    EXPECT_EQ(run({"--db", kShippedDatabase, "list", "systems"}), 0);
    EXPECT_EQ(m_out, "CGS\nEnglish\nImperial\nOilfield\nSI\n");
    EXPECT_EQ(run({"--db=" + other, "list", "systems"}), 0);
    EXPECT_EQ(m_out, "");
    m_env.databaseFromEnvironment.clear();
    EXPECT_EQ(run({"list", "systems"}), 0);
    EXPECT_EQ(m_out, "CGS\nEnglish\nImperial\nOilfield\nSI\n");

    EXPECT_EQ(run({"--db", (m_dir / "missing.xml").string(), "list", "units"}), 1);
    EXPECT_NE(m_err.find("Unit Database File Not Found"), std::string::npos);
    EXPECT_NE(m_err.find("missing.xml"), std::string::npos);
}

TEST_F(Cli, EditAppliesEveryOperationAndSaves) {
    const std::string db = copyOfShippedDatabase();
    EXPECT_EQ(run({"--db", db, "edit", "Unit_Add league Length", "Unit_Expression_Replace league 3*mile",
                   "Unit_Symbol_Replace league lea gue", "Unit_Synonym_Add league leagues",
                   "Quantity_Add Speed2", "Quantity_DimVector_Replace Speed2 0 1 -1",
                   "UnitSystem_PrefUnit_Replace English Length league"}),
              0)
        << m_err;
    EXPECT_EQ(run({"--db", db, "convert", "2", "leagues", "km"}), 0) << m_err;
    EXPECT_EQ(m_out, "9.656064\n");
    kestrum::Engine e;
    ASSERT_EQ(e.Initialize(db), kestrum::S_OK);
    std::string symbol, preferred;
    std::vector<std::int16_t> vector;
    EXPECT_EQ(e.Unit_Symbol("league", symbol), kestrum::S_OK);
    EXPECT_EQ(symbol, "lea gue");  // the last argument takes the rest, spaces included
    EXPECT_EQ(e.Quantity_DimVector("speed2", vector), kestrum::S_OK);
    EXPECT_EQ(vector, (std::vector<std::int16_t>{0, 1, -1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(e.UnitSystem_PrefUnit("English", "Length", preferred), kestrum::S_OK);
    EXPECT_EQ(preferred, "league");

    EXPECT_EQ(run({"--db", db, "edit", "Unit_Symbol_Replace league "}), 0);  // empty clears
    kestrum::Engine reread;
    ASSERT_EQ(reread.Initialize(db), kestrum::S_OK);
    EXPECT_EQ(reread.Unit_Symbol("league", symbol), kestrum::S_OK);
    EXPECT_EQ(symbol, "");
}

TEST_F(Cli, EditStopsAtTheFirstFailureAndLeavesTheFileUntouched) {
    const std::string db = copyOfShippedDatabase();
    const std::string before = readFile(db);
    EXPECT_EQ(run({"--db", db, "edit", "Unit_Add league Length", "Unit_Add chain2 Areas"}), 1);
    EXPECT_NE(m_err.find("Quantity Not Found"), std::string::npos);
    EXPECT_NE(m_err.find("Unit_Add chain2 Areas"), std::string::npos);
    EXPECT_EQ(readFile(db), before);

    for (const char* bad : {"Unit_Add league", "Unit_Explode metre", "Unit_ConversionFactor_Replace foot fast",
                            "Quantity_DimVector_Replace Length", "Quantity_DimVector_Replace Length 1 2 3 4 5 6 7 8 9 10 11",
                            "Quantity_DimVector_Replace Length 99999"})
        EXPECT_EQ(run({"--db", db, "edit", bad}), 2) << bad;
    EXPECT_EQ(readFile(db), before);
}

TEST_F(Cli, EditNeedsAnExplicitDatabaseFile) {
    EXPECT_EQ(run({"edit", "Quantity_Add Money2"}), 2);
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

namespace {

struct ProcessResult {
    int status = -1;  // the exit status; -1 when a signal ended the process
    std::string err;
};

// Runs the built program with standard output on fd and standard error collected.
ProcessResult runProgram(const std::vector<std::string>& args, int fd) {
    int errPipe[2];
    if (::pipe(errPipe) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(errPipe[1], STDERR_FILENO);
        ::close(errPipe[0]);
        std::vector<char*> argv{const_cast<char*>(kProgram.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(kProgram.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(errPipe[1]);
    ProcessResult result;
    char buffer[512];
    for (ssize_t n; (n = ::read(errPipe[0], buffer, sizeof buffer)) > 0;) result.err.append(buffer, std::size_t(n));
    ::close(errPipe[0]);
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

}  // namespace

TEST(CliProgram, RunsAsAProcessWithExitStatus) {
    FILE* pipe = ::popen((kProgram + " --version").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[32] = {};
    ASSERT_NE(std::fgets(line, sizeof line, pipe), nullptr);
    EXPECT_STREQ(line, "1.01\n");
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_EQ(WEXITSTATUS(std::system((kProgram + " bogus >/dev/null 2>&1").c_str())), 2);
}

TEST(CliProgram, AFullDiskOrAClosedPipeIsAFailureWithAMessage) {
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    ProcessResult r = runProgram({"convert", "1", "m", "ft"}, full);
    ::close(full);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kestrum: cannot write the output: No space left on device\n");

    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    ::close(out[0]);  // nobody reads
    r = runProgram({"list", "units"}, out[1]);
    ::close(out[1]);
    EXPECT_EQ(r.status, 1) << "ended by a signal, or passed for success";
    EXPECT_EQ(r.err, "kestrum: cannot write the output: Broken pipe\n");
}
