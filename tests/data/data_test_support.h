// Shared by the tests over the shipped Unit Database: where things are, the reference tables,
// a loaded engine, temporary folders, running the built programs, and ulp distances.
#pragma once

#include "database_builder.h"
#include "reference_tables.h"

#include <kestrum/engine.h>

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <sys/wait.h>

namespace kestrum::datatest {

namespace fs = std::filesystem;

inline fs::path sourceData() { return fs::path(KESTRUM_SOURCE_DIR) / "data"; }
inline fs::path shippedDatabase() { return sourceData() / "Unit_Database.xml"; }
inline fs::path program(const std::string& name) { return fs::path(KESTRUM_BINARY_DIR) / "bin" / name; }

// The tables are read once; every test gets its own engine.
inline const data::ReferenceTables& tables() {
    static const data::ReferenceTables loaded = [] {
        data::ReferenceTables t;
        std::string error;
        if (!data::loadReferenceTables(sourceData(), t, error)) ADD_FAILURE() << error;
        return t;
    }();
    return loaded;
}

class ShippedDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(engine.ReadUnitDatabase(shippedDatabase().string(), OVERWRITE), S_OK);
        ASSERT_EQ(tables().units.size(), 707u) << "reference tables missing: the loops would pass vacuously";
    }
    Engine engine;
};

inline std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::random_device random;
        m_path = fs::temp_directory_path() / ("kestrum-data-test-" + std::to_string(random()));
        fs::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

struct CommandResult {
    int status = -1;
    std::string out;
};

// Runs a shell command line (arguments already quoted) and collects its standard output.
inline CommandResult runCommand(const std::string& commandLine) {
    CommandResult result;
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

inline std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// How many doubles lie between a and b (both finite, same sign or zero).
inline std::uint64_t ulpDistance(double a, double b) {
    if (a == b) return 0;
    if ((a < 0) != (b < 0)) return UINT64_MAX;
    const auto ia = std::bit_cast<std::int64_t>(a), ib = std::bit_cast<std::int64_t>(b);
    return static_cast<std::uint64_t>(ia > ib ? ia - ib : ib - ia);
}

}  // namespace kestrum::datatest
