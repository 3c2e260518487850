// VariantChangeType: automation's conversions between booleans, integers of every width,
// floating-point numbers and strings, with the platform's codes for what cannot be converted.
#include "internal.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace comrt::internal {

namespace {

// A scalar on its way from one type to another: exactly, as an integer, or as a real.
struct Scalar {
    bool real = false;
    __int128 integer = 0;
    double value = 0;
};

// Reads a number from text as automation does, whatever the process locale: optional blanks,
// a sign, digits with an optional decimal point and exponent, optional blanks. Text longer than
// any number is refused unread.
HRESULT parseNumber(BSTR text, Scalar& out) {
    constexpr std::size_t kLongest = 400;
    char buffer[kLongest + 1];
    std::size_t n = 0;
    if (text != nullptr) {
        for (; text[n] != 0; ++n) {
            if (n == kLongest || text[n] > 0x7F) return DISP_E_TYPEMISMATCH;
            buffer[n] = static_cast<char>(text[n]);
        }
    }
    std::string_view s(buffer, n);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    // Only digits, a point, a sign and an exponent: from_chars alone would take "inf" and "nan".
    bool digit = false;
    for (char c : s) {
        digit = digit || (c >= '0' && c <= '9');
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) {
            return DISP_E_TYPEMISMATCH;
        }
    }
    if (!digit) return DISP_E_TYPEMISMATCH;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (end != s.data() + s.size()) return DISP_E_TYPEMISMATCH;
    if (ec == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
    if (ec != std::errc()) return DISP_E_TYPEMISMATCH;
    out.real = true;
    out.value = value;
    return S_OK;
}

bool boolFromText(BSTR text, VARIANT_BOOL& out) {
    const std::u16string_view s = text == nullptr ? std::u16string_view() : std::u16string_view(text);
    if (equalsIgnoringAsciiCase(s, u"True")) {
        out = VARIANT_TRUE;
        return true;
    }
    if (equalsIgnoringAsciiCase(s, u"False")) {
        out = VARIANT_FALSE;
        return true;
    }
    return false;
}

// The scalar a by-value variant holds; DISP_E_TYPEMISMATCH for what holds none (null, objects,
// arrays, errors).
HRESULT scalarOf(const VARIANT& v, Scalar& out) {
    switch (v.vt) {
        case VT_EMPTY: out.integer = 0; return S_OK;
        case VT_I1: out.integer = v.cVal; return S_OK;
        case VT_UI1: out.integer = v.bVal; return S_OK;
        case VT_I2: out.integer = v.iVal; return S_OK;
        case VT_BOOL: out.integer = v.boolVal; return S_OK;
        case VT_UI2: out.integer = v.uiVal; return S_OK;
        case VT_I4: out.integer = v.lVal; return S_OK;
        case VT_INT: out.integer = v.intVal; return S_OK;
        case VT_UI4: out.integer = v.ulVal; return S_OK;
        case VT_UINT: out.integer = v.uintVal; return S_OK;
        case VT_I8: out.integer = v.llVal; return S_OK;
        case VT_UI8: out.integer = static_cast<std::uint64_t>(v.llVal); return S_OK;
        case VT_R4: out.real = true; out.value = v.fltVal; return S_OK;
        case VT_R8: out.real = true; out.value = v.dblVal; return S_OK;
        case VT_BSTR: return parseNumber(v.bstrVal, out);
        default: return DISP_E_TYPEMISMATCH;
    }
}

// An integer in [low, high]: a real is rounded to the nearest, halves to even, as automation
// rounds; anything outside the range overflows.
HRESULT integerIn(const Scalar& s, __int128 low, __int128 high, __int128& out) {
    if (s.real) {
        if (!std::isfinite(s.value)) return DISP_E_OVERFLOW;
        const double rounded = std::nearbyint(s.value);  // the default rounding: to nearest, ties to even
        if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high)) return DISP_E_OVERFLOW;
        out = static_cast<__int128>(rounded);
    } else {
        out = s.integer;
    }
    return out < low || out > high ? DISP_E_OVERFLOW : S_OK;
}

template <typename T>
HRESULT toInteger(const Scalar& s, T& out) {
    __int128 value = 0;
    const HRESULT hr = integerIn(s, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), value);
    if (SUCCEEDED(hr)) out = static_cast<T>(value);
    return hr;
}

// An unsigned target takes a boolean's bits: true (-1) is all ones, as automation gives it.
template <typename T>
HRESULT toUnsigned(const VARIANT& source, const Scalar& s, T& out) {
    if (source.vt == VT_BOOL) {
        out = static_cast<T>(source.boolVal);
        return S_OK;
    }
    return toInteger(s, out);
}

HRESULT textOf(const VARIANT& v, std::string& out) {
    char buffer[64];
    switch (v.vt) {
        case VT_EMPTY: out.clear(); return S_OK;
        case VT_BOOL: out = v.boolVal != 0 ? "True" : "False"; return S_OK;
        case VT_R4:
        case VT_R8: {
            const double d = v.vt == VT_R4 ? double{v.fltVal} : v.dblVal;
            // Fifteen significant digits, as automation shows a double; the exponent as "E+20".
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::general,
                                           v.vt == VT_R4 ? 7 : 15).ptr;
            out.assign(buffer, end);
            for (char& c : out) c = c == 'e' ? 'E' : c;
            return S_OK;
        }
        default: {
            Scalar s;
            if (const HRESULT hr = scalarOf(v, s); FAILED(hr)) return hr;
            const bool negative = s.integer < 0;
            unsigned __int128 magnitude = negative ? -static_cast<unsigned __int128>(s.integer) : s.integer;
            std::size_t n = sizeof buffer;
            do {
                buffer[--n] = static_cast<char>('0' + static_cast<int>(magnitude % 10));
                magnitude /= 10;
            } while (magnitude != 0);
            if (negative) buffer[--n] = '-';
            out.assign(buffer + n, sizeof buffer - n);
            return S_OK;
        }
    }
}

// The value of a by-reference variant as a by-value one borrowing the pointed-to data.
HRESULT dereference(const VARIANT& in, VARIANT& out) {
    std::memset(&out, 0, sizeof out);
    if ((in.vt & VT_BYREF) == 0) {
        out = in;
        return S_OK;
    }
    const VARTYPE vt = in.vt & ~VT_BYREF;
    if (in.byref == nullptr) return E_INVALIDARG;
    if (vt == VT_VARIANT) {
        if ((in.pvarVal->vt & VT_BYREF) != 0) return DISP_E_TYPEMISMATCH;
        out = *in.pvarVal;
        return S_OK;
    }
    out.vt = vt;
    if ((vt & VT_ARRAY) != 0) {
        out.parray = *in.pparray;
        return S_OK;
    }
    switch (vt) {
        case VT_I1: case VT_UI1: out.bVal = *in.pbVal; return S_OK;
        case VT_I2: case VT_UI2: case VT_BOOL: out.iVal = *in.piVal; return S_OK;
        case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: out.lVal = *in.plVal; return S_OK;
        case VT_I8: case VT_UI8: out.llVal = *static_cast<const std::int64_t*>(in.byref); return S_OK;
        case VT_R4: out.fltVal = *in.pfltVal; return S_OK;
        case VT_R8: out.dblVal = *in.pdblVal; return S_OK;
        case VT_BSTR: out.bstrVal = *in.pbstrVal; return S_OK;
        default: return DISP_E_TYPEMISMATCH;
    }
}

// The conversion itself: out is a new variant of type vt that owns what it holds.
HRESULT change(const VARIANT& source, VARTYPE vt, VARIANT& out) {
    VARIANT v;
    if (const HRESULT hr = dereference(source, v); FAILED(hr)) return hr;
    std::memset(&out, 0, sizeof out);
    if (v.vt == vt) {
        VariantInit(&out);
        return VariantCopy(&out, &v);
    }
    if (v.vt == VT_NULL) return DISP_E_TYPEMISMATCH;
    out.vt = vt;
    if (vt == VT_BSTR) {
        std::string text;
        if (const HRESULT hr = textOf(v, text); FAILED(hr)) return hr;
        out.bstrVal = allocString(std::string_view(text));
        return out.bstrVal != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    if (vt == VT_BOOL && v.vt == VT_BSTR && boolFromText(v.bstrVal, out.boolVal)) return S_OK;
    Scalar s;
    if (const HRESULT hr = scalarOf(v, s); FAILED(hr)) return hr;
    switch (vt) {
        case VT_BOOL: out.boolVal = (s.real ? s.value != 0 : s.integer != 0) ? VARIANT_TRUE : VARIANT_FALSE; return S_OK;
        case VT_I1: return toInteger(s, out.cVal);
        case VT_I2: return toInteger(s, out.iVal);
        case VT_I4: return toInteger(s, out.lVal);
        case VT_INT: return toInteger(s, out.intVal);
        case VT_I8: return toInteger(s, out.llVal);
        case VT_UI1: return toUnsigned(v, s, out.bVal);
        case VT_UI2: return toUnsigned(v, s, out.uiVal);
        case VT_UI4: return toUnsigned(v, s, out.ulVal);
        case VT_UINT: return toUnsigned(v, s, out.uintVal);
        case VT_UI8: {
            std::uint64_t value = 0;
            const HRESULT hr = toUnsigned(v, s, value);
            out.llVal = static_cast<std::int64_t>(value);
            return hr;
        }
        case VT_R8: out.dblVal = s.real ? s.value : static_cast<double>(s.integer); return S_OK;
        case VT_R4: {
            const double d = s.real ? s.value : static_cast<double>(s.integer);
            if (std::isfinite(d) && std::fabs(d) > FLT_MAX) return DISP_E_OVERFLOW;
            out.fltVal = static_cast<float>(d);
            return S_OK;
        }
        default: return DISP_E_BADVARTYPE;
    }
}

}  // namespace

}  // namespace comrt::internal

extern "C" HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc, USHORT, VARTYPE vt) {
    return comrt::internal::guarded(E_OUTOFMEMORY, [&] {
        if (pvargDest == nullptr || pvarSrc == nullptr) return E_INVALIDARG;
        if ((vt & (VT_BYREF | VT_ARRAY)) != 0) return DISP_E_BADVARTYPE;
        VARIANT result;
        VariantInit(&result);
        const HRESULT hr = comrt::internal::change(*pvarSrc, vt, result);
        if (FAILED(hr)) {
            if (result.vt == VT_BSTR) SysFreeString(result.bstrVal);
            return hr;
        }
        // The source may be the destination itself: it is released only once the result exists.
        if (const HRESULT cleared = VariantClear(pvargDest); FAILED(cleared)) {
            VariantClear(&result);
            return cleared;
        }
        *pvargDest = result;
        return S_OK;
    });
}
