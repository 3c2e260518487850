// Helpers shared by the engine tests: temporary folders, small databases built in code, a
// readable comparison of result codes, and a canonical dump of everything the queries show.
#pragma once

#include <kestrum/engine.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kestrum::test {

// The name of a result code ("E_NAME_EXISTS"), or its value in hex for any other code, so a
// failed comparison says which codes differ.
std::string codeName(Result rc);

#define EXPECT_RC(expected, expr) EXPECT_EQ(::kestrum::test::codeName(expected), ::kestrum::test::codeName(expr))
#define ASSERT_RC(expected, expr) ASSERT_EQ(::kestrum::test::codeName(expected), ::kestrum::test::codeName(expr))
#define EXPECT_OK(expr) EXPECT_RC(::kestrum::S_OK, expr)
#define ASSERT_OK(expr) ASSERT_RC(::kestrum::S_OK, expr)

// Relative comparison for factors worked out through several operations.
::testing::AssertionResult near(double actual, double expected, double relative = 1e-12);

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::string file(std::string_view name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

void writeFile(const std::string& path, std::string_view bytes);
std::string readFile(const std::string& path);

// What an empty database looks like on disk, byte for byte.
extern const std::string_view kEmptyDatabaseFile;

// Quantity with a dimension vector given from KG onwards (missing exponents are 0).
void addQuantity(Engine& e, std::string_view name, std::initializer_list<std::int16_t> vector);
void addQuantityExpression(Engine& e, std::string_view name, std::string_view expression);
void addUnit(Engine& e, std::string_view name, std::string_view quantity, double factor, double offset = 0.0);
void addUnitExpression(Engine& e, std::string_view name, std::string_view quantity, std::string_view expression);
void setPreferred(Engine& e, std::string_view system, std::string_view quantity, std::string_view unit);

// Mass, Length, Time, Temperature, Velocity (Length/Time), Energy, Power and their common
// units (kg, lb, m, km, ft, s, h, K, degC, degF, J, btu, W), and the unit systems SI and
// English with preferred units for the base quantities.
void buildSmallDatabase(Engine& e);

// Every list and value the queries give, one line each, doubles in their exact shortest form.
// Asking for values completes deferred ones, exactly as the writer does.
std::string dump(Engine& e);

// A test with an engine that has read an empty database file, so conversions are allowed.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    TempDir dir;
    Engine e;
};

// Same, with the small database built.
class SmallDatabaseTest : public EngineTest {
protected:
    void SetUp() override;
    // Converts through UnitExpression_Convert and applies the pair to value.
    double convert(double value, std::string_view from, std::string_view to);
};

}  // namespace kestrum::test
