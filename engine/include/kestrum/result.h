// Result codes of the Kestrum engine.
//
// STATUS CONVENTION. Every engine operation returns a Result: 0 (S_OK) is success and every
// failure is negative (severity bit set). Failures never travel as exceptions, and an
// operation writes its output parameters only when it succeeds, so a caller may keep a
// fallback value in them. The engine's own failures are the seventeen E_... codes below, each
// with one fixed English message (ErrorMessage); the component layer posts that message as
// the calling thread's error description before it returns the code.
#pragma once

#include <kestrum/export.h>

#include <cstdint>
#include <string>

namespace kestrum {

using Result = std::int32_t;

inline constexpr Result S_OK = 0;

// Facility 4 (interface), codes 522 to 538.
inline constexpr Result E_UDB_FILE_NOT_FOUND = static_cast<Result>(0x8004020AU);
inline constexpr Result E_UDB_CORRUPT = static_cast<Result>(0x8004020BU);
inline constexpr Result E_UNIT_NOT_FOUND = static_cast<Result>(0x8004020CU);
inline constexpr Result E_NOT_INITIALIZED = static_cast<Result>(0x8004020DU);
inline constexpr Result E_INVALID_EXPRESSION = static_cast<Result>(0x8004020EU);
inline constexpr Result E_INTERNAL = static_cast<Result>(0x8004020FU);
inline constexpr Result E_DIVIDE_BY_ZERO = static_cast<Result>(0x80040210U);
inline constexpr Result E_DIMENSIONS_DIFFER = static_cast<Result>(0x80040211U);
inline constexpr Result E_QUANTITY_NOT_FOUND = static_cast<Result>(0x80040212U);
inline constexpr Result E_UNIT_SYSTEM_NOT_FOUND = static_cast<Result>(0x80040213U);
inline constexpr Result E_NO_WRITE_PERMISSION = static_cast<Result>(0x80040214U);
inline constexpr Result E_EXPRESSION_DETERMINES = static_cast<Result>(0x80040215U);
inline constexpr Result E_SYNONYM_NOT_FOUND = static_cast<Result>(0x80040216U);
inline constexpr Result E_NAME_EXISTS = static_cast<Result>(0x80040217U);
inline constexpr Result E_NAME_NOT_ACCEPTABLE = static_cast<Result>(0x80040218U);
inline constexpr Result E_NO_PREFERRED_UNIT_BASIC = static_cast<Result>(0x80040219U);
inline constexpr Result E_NO_PREFERRED_UNIT_CONSTANT = static_cast<Result>(0x8004021AU);

// Standard status codes that are returned beside the engine's own.
inline constexpr Result E_OUTOFMEMORY = static_cast<Result>(0x8007000EU);

// True for the seventeen engine codes, the ones that have a fixed message.
inline constexpr bool IsEngineCode(Result rc) { return rc >= E_UDB_FILE_NOT_FOUND && rc <= E_NO_PREFERRED_UNIT_CONSTANT; }

// The fixed message of one of the seventeen engine codes; "Error Code not Found" otherwise.
KESTRUM_ENGINE_API std::string ErrorMessage(Result rc);

}  // namespace kestrum
