// The kestrum command works on the shipped database out of the box: the built program, run as
// a user runs it, with no --db and no KESTRUM_DB, finds the database beside it.
#include "data_test_support.h"

#include "cli.h"

#include <sstream>

namespace kestrum::datatest {
namespace {

CommandResult kestrum(const std::string& arguments) {
    return runCommand("env -u KESTRUM_DB " + quoted(program("kestrum").string()) + " " + arguments + " 2>&1");
}

// A documented shell command line, run as written with the built kestrum first on the path,
// standard error with standard output, in an empty folder.
CommandResult shell(const std::string& commandLine) {
    static const TempDir folder;
    const std::string path = "PATH=" + quoted(program("kestrum").parent_path().string()) + ":\"$PATH\"";
    return runCommand("cd " + quoted(folder.path().string()) + " && env -u KESTRUM_DB " + path + " sh -c " +
                      quoted(commandLine + " 2>&1"));
}

struct Documented {
    std::string commandLine;
    std::string prints;
};

// The "$ command" lines of the console blocks in one section of a Markdown file, each with the
// lines that follow it.
std::vector<Documented> consoleExamples(const fs::path& file, const std::string& heading) {
    std::istringstream lines(readFile(file));
    std::vector<Documented> examples;
    bool inSection = false, inConsole = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("## ")) inSection = line == heading;
        if (!inSection) continue;
        if (line.starts_with("```")) {
            inConsole = !inConsole && line == "```console";
        } else if (inConsole && line.starts_with("$ ")) {
            examples.push_back({line.substr(2), ""});
        } else if (inConsole && !examples.empty()) {
            examples.back().prints += line + "\n";
        }
    }
    return examples;
}

TEST(KestrumOnTheShippedDatabase, ListsTheUnitsOfLength) {
    const CommandResult result = kestrum("list units Length");
    ASSERT_EQ(result.status, 0) << result.out;
    std::vector<std::string> want;
    for (const auto& u : tables().units)
        if (u.quantity == "Length") want.push_back(u.name);
    std::sort(want.begin(), want.end());  // Length's unit names are all lower case
    std::string expected;
    for (const auto& name : want) expected += name + "\n";
    ASSERT_GE(want.size(), 20u);
    EXPECT_EQ(result.out, expected);
}

TEST(KestrumOnTheShippedDatabase, ConvertsCelsiusToFahrenheit) {
    const CommandResult result = kestrum("convert 100 degC degF");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "212\n");
}

TEST(KestrumOnTheShippedDatabase, ConvertsBtuPerHourToWatts) {
    const CommandResult result = kestrum("convert 1 btu/h W");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "0.293071070172222\n");
}

TEST(KestrumOnTheShippedDatabase, PrintsWhatEveryHelpExampleSays) {
    ASSERT_GE(kestrum::cli::helpExamples().size(), 10u);
    for (const auto& example : kestrum::cli::helpExamples()) {
        const CommandResult result = shell(example.commandLine);
        EXPECT_EQ(result.out, std::string(example.prints) + "\n") << example.commandLine;
    }
}

TEST(KestrumOnTheShippedDatabase, PrintsWhatEveryReadmeExampleShows) {
    const auto examples = consoleExamples(fs::path(KESTRUM_SOURCE_DIR) / "README.md", "## The command-line converter");
    ASSERT_GE(examples.size(), 15u) << "README's command-line section lost its examples";
    for (const auto& example : examples) {
        const CommandResult result = shell(example.commandLine);
        EXPECT_EQ(result.out, example.prints) << example.commandLine;
    }
}

}  // namespace
}  // namespace kestrum::datatest
