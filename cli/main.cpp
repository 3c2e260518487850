#include "cli.h"
#include "output.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    kestrum::cli::Environment env;
    env.shippedDatabase = ec ? std::string() : kestrum::cli::findShippedDatabase(exe.string());
    if (const char* db = std::getenv("KESTRUM_DB")) env.databaseFromEnvironment = db;
    // A closed pipe is a failed write like any other: reported, exit status 1, instead of a
    // signal that ends the program before it can say so.
    std::signal(SIGPIPE, SIG_IGN);
    std::ios::sync_with_stdio(false);
    kestrum::cli::FdOutput stdoutBuffer(STDOUT_FILENO);
    std::ostream out(&stdoutBuffer);
    // The engine is deliberately never destroyed: the process ends right after the command, and
    // freeing thousands of records first would only make every conversion from a shell slower.
    auto* engine = new kestrum::Engine;
    const int rc = kestrum::cli::run({argv + 1, argv + argc}, env, *engine, std::cin, out, std::cerr);
    std::cerr.flush();
    std::_Exit(rc);
}
