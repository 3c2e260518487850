// The kestrum command: the engine from a shell. Everything runs through Cli::run so tests can
// drive it with string streams; main() only supplies the real streams and arguments.
#pragma once

#include <kestrum/engine.h>

#include <iosfwd>
#include <string>
#include <vector>

namespace kestrum::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // refused, or the output could not be written
inline constexpr int kExitUsage = 2;    // the command line is wrong

struct Environment {
    std::string shippedDatabase;  // the database used without --db and $KESTRUM_DB
    std::string databaseFromEnvironment;
};

// Runs one command line on engine, a fresh engine that run() loads the database into.
int run(const std::vector<std::string>& args, const Environment& env, Engine& engine, std::istream& in,
        std::ostream& out, std::ostream& err);

// Where the shipped database lies for a program installed (or built) at exePath: beside it,
// or in ../share/kestrum. Empty when neither exists.
std::string findShippedDatabase(const std::string& exePath);

// The examples --help shows: a shell command line and what it prints on the shipped
// database (standard output and standard error, lines separated by "\n").
struct Example {
    const char* commandLine;
    const char* prints;
};
const std::vector<Example>& helpExamples();

}  // namespace kestrum::cli
