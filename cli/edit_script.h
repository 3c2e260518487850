// One edit operation given on the command line as 'OPERATION ARG...': its words are split on
// single spaces and the last argument takes the rest of the text (so a symbol may hold spaces,
// or be empty to clear it).
#pragma once

#include <kestrum/engine.h>

#include <string>
#include <string_view>

namespace kestrum::cli {

enum class EditOutcome { Done, EngineFailed, BadCommand };

// Runs one edit on the engine. BadCommand: message says what is wrong with the text;
// EngineFailed: rc holds the engine's code.
EditOutcome runEdit(Engine& engine, std::string_view command, Result& rc, std::string& message);

// The names of every edit operation, for the help text.
std::string editOperationList();

}  // namespace kestrum::cli
