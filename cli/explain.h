// Messages that say what a refusal is about and what was probably meant: the name at fault in
// an expression, names near it, and the units an ambiguous abbreviation could stand for.
#pragma once

#include <kestrum/engine.h>

#include <string>
#include <string_view>

namespace kestrum::cli {

enum class NameKind { Unit, Quantity, UnitSystem };

// "furlongz: Unit Not Found; did you mean furlong?", "mW: Unit Not Found; did you mean
// milliwatt (mW) or megawatt (MW)?", or "EXPR: MESSAGE" when no single name is at fault.
// kind says what the expression's names are: units (a unit expression) or quantities.
std::string explainExpression(Engine& engine, Result rc, std::string_view expression, NameKind kind);

// The same for one name that was not found.
std::string explainName(Engine& engine, Result rc, std::string_view name, NameKind kind);

// A name as a message shows it: quoted when it is empty or holds white space.
std::string shown(std::string_view text);

}  // namespace kestrum::cli
