// What every interface operation of the component needs: error posting, the exception
// boundary, and conversions between the engine's UTF-8 strings and vectors and the interface's
// BSTRs and safe arrays.
#pragma once

#include <kestrum/KestrumLib.h>
#include <kestrum/result.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace kestrum::component {

// The source of every posted error description: the version-independent program identifier.
inline constexpr const OLECHAR* kErrorSource = u"KestrumLib.Morvane";

// The message of rc as a new BSTR ("Error Code not Found" for codes without one); null only
// when out of memory.
BSTR ErrorMessage(Result rc);
// Makes rc's description (riid, source, message, no help file) the calling thread's error object.
// Silent when the error object cannot be made.
void PostErrorInfo(REFIID riid, Result rc);
// True for the engine's seventeen codes, the ones that carry a description.
bool IsEngineCode(Result rc);
// Posts rc under riid when it is an engine code and returns it.
HRESULT Fail(REFIID riid, Result rc);

// No exception may cross an interface: running out of memory inside an operation is
// E_OUTOFMEMORY, anything else thrown E_UNEXPECTED.
template <typename Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// A string parameter as UTF-8: read up to its first zero (null is empty), whatever its length
// prefix says; a lone surrogate becomes U+FFFD.
inline std::string Utf8(BSTR text) {
    return comrt::ToUtf8(text);
}

// Results for the caller. E_OUTOFMEMORY when the string or array cannot be made; E_INTERNAL
// when a new array's storage cannot be locked.
HRESULT PutString(const std::string& utf8, BSTR* out);
HRESULT PutStringArray(const std::vector<std::string>& items, SAFEARRAY** out);
HRESULT PutShortArray(const std::vector<std::int16_t>& items, SAFEARRAY** out);

// The first (at most ten) elements of a one-dimensional VT_I2 array. E_INTERNAL when the array
// is missing or its storage cannot be locked; E_INVALIDARG when its elements are not VT_I2.
HRESULT ReadShortArray(SAFEARRAY* array, std::vector<std::int16_t>& items);

}  // namespace kestrum::component
