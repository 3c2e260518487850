// The kestrum command works on the shipped database out of the box: the built program, run as
// a user runs it, with no --db and no KESTRUM_DB, finds the database beside it.
#include "data_test_support.h"

namespace kestrum::datatest {
namespace {

CommandResult kestrum(const std::string& arguments) {
    return runCommand("env -u KESTRUM_DB " + quoted(program("kestrum").string()) + " " + arguments + " 2>&1");
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

}  // namespace
}  // namespace kestrum::datatest
