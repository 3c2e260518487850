// What every interface operation of the component needs: error posting, the exception
// boundary, and conversions between the engine's UTF-8 strings and vectors and the interface's
// BSTRs and safe arrays.
#pragma once

#include <comrt/owned.h>
#include <kestrum/KestrumLib.h>
#include <kestrum/result.h>

#include <cstdint>
#include <new>
#include <string>
#include <string_view>
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
// The one way an operation ends: S_OK as it is; a failure posted under riid when it is an
// engine code (the codes with a description), and returned.
HRESULT Finish(REFIID riid, Result rc);

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
// prefix says; a lone surrogate becomes U+FFFD. Names and expressions of everyday length are
// converted into a buffer of the object itself, so a call costs no heap allocation. A text
// longer than any operation accepts (an expression: 500 UTF-16 units) is converted only up to
// one unit past that: still too long for every operation, it is refused as such without
// reading or copying megabytes.
class Utf8 {
public:
    explicit Utf8(BSTR text);
    Utf8(const Utf8&) = delete;
    Utf8& operator=(const Utf8&) = delete;
    operator std::string_view() const { return m_view; }
    std::string str() const { return std::string(m_view); }

private:
    void convertGenerally(BSTR text);

    static constexpr std::size_t kInline = 512;
    static constexpr std::size_t kLongestAccepted = 500;
    char m_inline[kInline];
    std::string m_heap;
    std::string_view m_view;
};

inline Utf8::Utf8(BSTR text) {
    if (text == nullptr) return;
    // Plain ASCII, four characters a step: (c - 1) below 0x7F is a character from 1 to 0x7F, so
    // one comparison tells an everyday character from the terminator or anything wider.
    auto plain = [](char16_t c) { return static_cast<char16_t>(c - 1) < 0x7F; };
    std::size_t i = 0;
    for (; i + 4 <= kInline; i += 4) {
        const char16_t c0 = text[i];
        if (!plain(c0)) break;
        const char16_t c1 = text[i + 1];
        if (!plain(c1)) { m_inline[i] = static_cast<char>(c0); i += 1; break; }
        const char16_t c2 = text[i + 2];
        if (!plain(c2)) { m_inline[i] = static_cast<char>(c0); m_inline[i + 1] = static_cast<char>(c1); i += 2; break; }
        const char16_t c3 = text[i + 3];
        m_inline[i] = static_cast<char>(c0);
        m_inline[i + 1] = static_cast<char>(c1);
        m_inline[i + 2] = static_cast<char>(c2);
        if (!plain(c3)) { i += 3; break; }
        m_inline[i + 3] = static_cast<char>(c3);
    }
    if (i < kInline && text[i] == 0) {
        m_view = std::string_view(m_inline, i);
        return;
    }
    // Anything beyond ASCII, or a long text, takes the general conversion.
    convertGenerally(text);
}

// Results for the caller. E_OUTOFMEMORY when the string or array cannot be made; E_INTERNAL
// when a new array's storage cannot be locked.
HRESULT PutString(const std::string& utf8, BSTR* out);
HRESULT PutStringArray(const std::vector<std::string>& items, SAFEARRAY** out);
HRESULT PutShortArray(const std::vector<std::int16_t>& items, SAFEARRAY** out);

// The first (at most ten) elements of a one-dimensional VT_I2 array. E_INTERNAL when the array
// is missing or its storage cannot be locked; E_INVALIDARG when its elements are not VT_I2.
HRESULT ReadShortArray(SAFEARRAY* array, std::vector<std::int16_t>& items);

// An operation with one result, in the shape every operation of both interfaces has: the
// place for the result is checked before anything is looked up (a missing place is reported
// without a description), a string or array result is null after any failure, a number is
// written only on success, and the end goes through Finish. call fills the engine's value.
template <typename Call>
HRESULT ReturnText(REFIID riid, BSTR* out, Call&& call) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return Guarded([&] {
        std::string value;
        const Result rc = call(value);
        return Finish(riid, rc == S_OK ? PutString(value, out) : rc);
    });
}

template <typename Call>
HRESULT ReturnNumber(REFIID riid, double* out, Call&& call) {
    if (out == nullptr) return E_POINTER;
    return Guarded([&] {
        double value = 0;
        const Result rc = call(value);
        if (rc == S_OK) *out = value;
        return Finish(riid, rc);
    });
}

template <typename Call>
HRESULT ReturnList(REFIID riid, SAFEARRAY** out, Call&& call) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return Guarded([&] {
        std::vector<std::string> items;
        const Result rc = call(items);
        return Finish(riid, rc == S_OK ? PutStringArray(items, out) : rc);
    });
}

}  // namespace kestrum::component
