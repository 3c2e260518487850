// The small fixed database the expression targets work on (tests/data/databases/fuzz_fixed.xml):
// base and derived quantities, units with offsets and symbols, definitions through chains of 40,
// cycles, broken and trap definitions, exponents above 9, a unit left behind by a removed
// quantity, and four unit systems (two consistent ones, one with no preferred units, one with
// odd choices).
#include "fixed_database.h"

#include <test_databases.h>

namespace kestrum::fuzz {

void loadFixedDatabase(Engine& e, const ScratchDir& dir) {
    const std::string path = dir.file("fixed.xml");
    // Read once per process: a fuzzing run loads it for every input.
    static const std::string bytes = test::testDatabase("fuzz_fixed.xml");
    writeBytes(path, bytes);
    const Result rc = e.ReadUnitDatabase(path, OVERWRITE);
    KESTRUM_FUZZ_CHECK(rc == S_OK, "the fixed database does not load: " + codeText(rc));
    KESTRUM_FUZZ_CHECK(e.Quantity_Remove("Gone") == S_OK, "the fixed database has no quantity Gone");
}

}  // namespace kestrum::fuzz
