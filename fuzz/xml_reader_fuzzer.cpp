// The database file reader on arbitrary bytes. Each input is read as a whole database
// (OVERWRITE, at two block sizes) and merged into a small database (APPEND). A failed read
// must leave the engine exactly as it was; a successful one must leave a database whose
// invariants hold, whose units render and translate without harm, and which, written and read
// back, is the same database and writes the same bytes again.
#include "fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace kestrum;
using namespace kestrum::fuzz;

namespace {

// What the inputs are merged into: small, so merging costs little, with names that inputs
// built from real files meet (a synonym, a definition, preferred units).
constexpr std::string_view kBase =
    "<UNITS_DATABASE><QUANTITIES>"
    "<QUANTITY NAME=\"Length\" M=\"1\"><SYNONYM>Distance</SYNONYM></QUANTITY>"
    "<QUANTITY NAME=\"Time\" S=\"1\"/><QUANTITY NAME=\"Temperature\" K=\"1\"/>"
    "<QUANTITY NAME=\"Velocity\" EXPRESSION=\"Length/Time\"/><QUANTITY NAME=\"Ratio\"/>"
    "</QUANTITIES><UNITS>"
    "<UNIT NAME=\"m\" QUANTITY=\"Length\" CONVERSION_FACTOR=\"1\"><SYNONYM>metre</SYNONYM></UNIT>"
    "<UNIT NAME=\"km\" QUANTITY=\"Length\" EXPRESSION=\"1000*m\"/>"
    "<UNIT NAME=\"s\" QUANTITY=\"Time\" CONVERSION_FACTOR=\"1\"/>"
    "<UNIT NAME=\"h\" QUANTITY=\"Time\" EXPRESSION=\"3600*s\"/>"
    "<UNIT NAME=\"K\" QUANTITY=\"Temperature\" CONVERSION_FACTOR=\"1\"/>"
    "<UNIT NAME=\"degC\" QUANTITY=\"Temperature\" CONVERSION_FACTOR=\"1\" CONVERSION_OFFSET=\"273.15\" "
    "SYMBOL=\"\xC2\xB0" "C\"/>"
    "<UNIT NAME=\"kph\" QUANTITY=\"Velocity\" EXPRESSION=\"km/h\"/>"
    "</UNITS><UNIT_SYSTEMS><UNIT_SYSTEM NAME=\"SI\">"
    "<UNIT_SYSTEM_QTY NAME=\"Length\" PREFERRED_UNIT=\"m\"/><UNIT_SYSTEM_QTY NAME=\"Time\" PREFERRED_UNIT=\"s\"/>"
    "<UNIT_SYSTEM_QTY NAME=\"Temperature\" PREFERRED_UNIT=\"K\"/>"
    "</UNIT_SYSTEM></UNIT_SYSTEMS></UNITS_DATABASE>";

struct Fixture {
    Fixture() {
        writeBytes(base, kBase);
        Engine e;
        KESTRUM_FUZZ_CHECK(e.ReadUnitDatabase(base, OVERWRITE) == S_OK, "cannot read the base database");
        const std::string error = takeSnapshot(e, baseSnapshot);
        KESTRUM_FUZZ_CHECK(error.empty(), error);
    }
    ScratchDir dir;
    const std::string input = dir.file("input.xml");
    const std::string written = dir.file("written.xml");
    const std::string rewritten = dir.file("rewritten.xml");
    const std::string base = dir.file("base.xml");
    Snapshot baseSnapshot;
};

Snapshot snapshotOf(Engine& e, std::string_view label) {
    Snapshot s;
    const std::string error = takeSnapshot(e, s);
    KESTRUM_FUZZ_CHECK(error.empty(), std::string(label) + ": " + error);
    return s;
}

// Every unit renders as its symbol (or its name); every quantity translated from a unit system
// into the same system converts with factor 1 and add 0 when it converts at all.
void useEveryItem(Engine& e, const Snapshot& s, std::string_view label) {
    for (const auto& u : s.units) {
        std::string symbol;
        const Result rc = e.UnitExpression_Symbol(u.name, symbol);
        const std::string& expected = u.symbol.empty() ? u.name : u.symbol;
        KESTRUM_FUZZ_CHECK(rc == S_OK && symbol == expected, std::string(label) + ": the symbol of unit " + u.name +
                                                                 " is " + codeText(rc) + " \"" + symbol + "\"");
    }
    constexpr std::size_t kQuantities = 24;  // enough to meet every kind, cheap for large files
    for (const auto& system : s.systems) {
        for (std::size_t i = 0; i < std::min(kQuantities, s.quantities.size()); ++i) {
            const std::string& q = s.quantities[i].name;
            std::string symbol;
            e.QuantityExpression_Symbol(system.name, q, symbol);
            double add = 0, multiplyBy = 0;
            const Result rc = e.QuantityExpression_Convert(system.name, system.name, q, add, multiplyBy);
            KESTRUM_FUZZ_CHECK(rc != S_OK || (multiplyBy == 1.0 && add == 0.0),
                               std::string(label) + ": " + q + " from " + system.name + " into itself multiplies by " +
                                   numberText(multiplyBy) + " and adds " + numberText(add));
        }
    }
}

void checkLoaded(Fixture& f, Engine& e, const Snapshot& s, std::string_view label) {
    const std::string broken = invariantViolation(e, s, InvariantOptions{});
    KESTRUM_FUZZ_CHECK(broken.empty(), std::string(label) + ": " + broken);
    useEveryItem(e, s, label);

    Engine back;
    const std::string error = writeAndReadBack(e, f.written, back);
    KESTRUM_FUZZ_CHECK(error.empty(), std::string(label) + ": " + error);
    const std::string changed = difference(s, snapshotOf(back, label));
    KESTRUM_FUZZ_CHECK(changed.empty(), std::string(label) + ": written and read back, the database changed:\n" +
                                            changed);
    KESTRUM_FUZZ_CHECK(back.WriteUnitDatabase(f.rewritten) == S_OK, "cannot write the read-back database");
    KESTRUM_FUZZ_CHECK(readBytes(f.written) == readBytes(f.rewritten),
                       std::string(label) + ": the read-back database writes other bytes:\n" + readBytes(f.written) +
                           "\n----\n" + readBytes(f.rewritten));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture f;
    writeBytes(f.input, std::string_view(reinterpret_cast<const char*>(data), size));

    Engine whole;
    const Result rc = whole.ReadUnitDatabase(f.input, OVERWRITE);
    KESTRUM_FUZZ_CHECK(rc == S_OK || rc == E_UDB_CORRUPT, "OVERWRITE read gave " + codeText(rc));
    Snapshot wholeSnapshot;
    if (rc == S_OK) {
        wholeSnapshot = snapshotOf(whole, "OVERWRITE");
    } else {
        KESTRUM_FUZZ_CHECK(whole.EnableDimensionalAnalysis(true) == E_NOT_INITIALIZED,
                           "a failed first read initialized the engine");
        KESTRUM_FUZZ_CHECK(takeSnapshot(whole, wholeSnapshot).empty() && wholeSnapshot.lines().empty(),
                           "a failed first read left something in the database");
    }

    // Where the blocks end must not matter.
    Engine small;
    small.SetReadBlockSize(1 + size % 13);
    const Result smallRc = small.ReadUnitDatabase(f.input, OVERWRITE);
    KESTRUM_FUZZ_CHECK(smallRc == rc, "blocks of " + std::to_string(1 + size % 13) + " bytes gave " +
                                          codeText(smallRc) + ", blocks of 512 " + codeText(rc));
    if (rc == S_OK) {
        const std::string changed = difference(wholeSnapshot, snapshotOf(small, "small blocks"));
        KESTRUM_FUZZ_CHECK(changed.empty(), "small blocks read another database:\n" + changed);
        checkLoaded(f, whole, wholeSnapshot, "OVERWRITE");
    }

    // Merged into an existing database: what parses does not depend on what is there.
    Engine merged;
    KESTRUM_FUZZ_CHECK(merged.ReadUnitDatabase(f.base, OVERWRITE) == S_OK, "cannot read the base database");
    const Result mergedRc = merged.ReadUnitDatabase(f.input, APPEND);
    KESTRUM_FUZZ_CHECK(mergedRc == rc, "APPEND gave " + codeText(mergedRc) + ", OVERWRITE " + codeText(rc));
    const Snapshot mergedSnapshot = snapshotOf(merged, "APPEND");
    if (mergedRc == S_OK) {
        checkLoaded(f, merged, mergedSnapshot, "APPEND");
    } else {
        const std::string changed = difference(f.baseSnapshot, mergedSnapshot);
        KESTRUM_FUZZ_CHECK(changed.empty(), "a failed APPEND changed the database:\n" + changed);
    }
    return 0;
}
