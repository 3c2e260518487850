// What the fuzz targets, their corpus replays and the randomized consistency test share: a way
// to fail loudly, a scratch folder for database files, a snapshot of everything the queries
// show, and the database's invariants, checked through the public interface only.
#pragma once

#include <kestrum/engine.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrum::fuzz {

// Prints what went wrong and aborts: libFuzzer keeps the input as a finding, ctest reports
// the replay as failed.
[[noreturn]] void fail(std::string_view what);

// The message is built only when the check fails, so checks cost nothing on the hot path.
#define KESTRUM_FUZZ_CHECK(condition, message)                 \
    do {                                                       \
        if (!(condition)) ::kestrum::fuzz::fail(message);      \
    } while (0)

std::string codeText(Result rc);
std::string numberText(double value);  // shortest form that reads back to the same double

// A fresh folder under the temporary directory ($TMPDIR), removed with its files.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string file(std::string_view name) const;

private:
    std::string m_path;
};

void writeBytes(const std::string& path, std::string_view bytes);
std::string readBytes(const std::string& path);

struct QuantityState {
    std::string name;
    std::string expression;
    std::vector<std::int16_t> dims;
    std::vector<std::string> synonyms;
    std::vector<std::string> units;
};

struct UnitState {
    std::string name;
    std::string quantity;
    std::string expression;
    std::string symbol;
    double factor = 0.0;
    double offset = 0.0;
    std::vector<std::string> synonyms;
};

struct UnitSystemState {
    std::string name;
    std::vector<std::pair<std::string, std::string>> preferred;  // quantity, preferred unit
};

// Everything the queries show, in list order. Taking it completes deferred values, exactly as
// writing the database does.
struct Snapshot {
    std::vector<QuantityState> quantities;
    std::vector<UnitState> units;
    std::vector<UnitSystemState> systems;
    std::vector<std::string> lines() const;  // one line per item, numbers exact
};

// Queries the whole database; "" on success, otherwise which query failed for a listed item
// (a listed item that cannot be queried is itself a broken invariant).
std::string takeSnapshot(Engine& e, Snapshot& out);
// "" when equal, else the first line that differs on either side.
std::string difference(const Snapshot& expected, const Snapshot& actual);

struct InvariantOptions {
    // Lower-case keys of quantities that were removed at some time: their units keep the key
    // by design, so a unit may name one of these instead of a quantity that exists.
    const std::set<std::string>* removedQuantityKeys = nullptr;
    // A rename lengthens the expressions that name the renamed item, past 500 characters too.
    bool expressionsMayBeLong = false;
    // Convert every unit defined by an expression against that expression (both must agree
    // exactly). Needs an initialized engine with dimensional analysis off.
    bool checkEvaluations = true;
};

// "" when every invariant holds, else the first one broken:
// - the three lists and every synonym list are sorted by lower-case key, with no duplicates;
// - one lower-case name names one thing: quantities, units, unit systems and synonyms alike;
// - names and symbols are acceptable and at most 50 UTF-16 units, expressions at most 500;
// - every synonym resolves to its owner;
// - every unit's quantity is a quantity (or a removed one's key), and each quantity lists
//   exactly the units that name it;
// - every unit system has an entry for every quantity, naming an existing unit or none;
// - factors and offsets are finite, or the sentinel for an expression that failed;
// - a unit defined by an expression converts to that expression with factor 1 and add 0.
std::string invariantViolation(Engine& e, const Snapshot& s, const InvariantOptions& options);

// Writes e to path and reads the file into fresh; "" on success, else what failed.
std::string writeAndReadBack(Engine& e, const std::string& path, Engine& fresh);

}  // namespace kestrum::fuzz
