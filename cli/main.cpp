#include "cli.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    kestrum::cli::Environment env;
    env.shippedDatabase = ec ? std::string() : kestrum::cli::findShippedDatabase(exe.string());
    if (const char* db = std::getenv("KESTRUM_DB")) env.databaseFromEnvironment = db;
    std::ios::sync_with_stdio(false);
    // The engine is deliberately never destroyed: the process ends right after the command, and
    // freeing thousands of records first would only make every conversion from a shell slower.
    auto* engine = new kestrum::Engine;
    const int rc = kestrum::cli::run({argv + 1, argv + argc}, env, *engine, std::cin, std::cout, std::cerr);
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(rc);
}
