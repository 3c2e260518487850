// The routines through which every control and pick list reaches the library's one engine
// connection (CDimsafeEdit::Initialize). While the connection is not started they return their
// fallbacks silently. Engine failures are shown at once (ShowEngineError) and the caller goes on
// with the fallback; text of 260 characters or more is never passed to the engine: a message
// says it is too long, and the fallback applies.
#pragma once

#include <kestrum/editctl/export.h>
#include <kestrum/ui/constants.h>

namespace kestrum::editctl {

// The size of the narrow buffer GetSymbol writes.
inline constexpr int kSymbolBufferSize = 260;

// dValue of the quantity expression sQuantity, from the storage into the current unit system
// (bToCurrent) or back. Equal system names (compared exactly) return dValue without asking the
// engine; so does every failure.
DIMSAFE_EDITCTL_API double ConvertValue(const CString& sQuantity, double dValue, bool bToCurrent);
// Writes into pSymbol (kSymbolBufferSize bytes, UTF-8, terminated) the symbol of the unit the
// current unit system uses for sQuantity; leaves it as it is on failure.
DIMSAFE_EDITCTL_API void GetSymbol(const CString& sQuantity, char* pSymbol);
// Shows the engine's description of its last failure: the description as the text, the source
// as the caption. Silent when the engine offers none.
DIMSAFE_EDITCTL_API void ShowEngineError();

}  // namespace kestrum::editctl
