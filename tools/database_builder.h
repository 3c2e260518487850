// Building the shipped Unit Database from the reference tables, and checking a database
// against them. The build goes through the engine's edit operations only, exactly as any
// client edits a database, so every name passes the engine's own rules on the way in.
#pragma once

#include "reference_tables.h"

#include <kestrum/engine.h>

#include <string>
#include <vector>

namespace kestrum::data {

// Adds the tables to `engine` (normally empty): quantities with their vectors or defining
// expressions, units with factor, offset or expression, symbols and synonyms, the unit systems
// and their preferred units. Returns one message per refused edit; empty means all went in.
std::vector<std::string> buildDatabase(Engine& engine, const ReferenceTables& tables);

// Every way in which `engine` differs from the tables: missing or extra names, a vector, a
// factor or offset that is not bit for bit the table's double, a symbol, an expression, a
// synonym or a preferred unit. Empty means the engine holds exactly the tables.
std::vector<std::string> compareWithTables(Engine& engine, const ReferenceTables& tables);

// For a loaded (initialised) engine: every defining unit expression has the dimensions of its
// unit's quantity. The factor check alone would let "foot" stand for "foot/second".
std::vector<std::string> checkDefinitionDimensions(Engine& engine, const ReferenceTables& tables);

}  // namespace kestrum::data
