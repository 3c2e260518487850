// Late-bound calls: DISPPARAMS to declared parameter types, the call, and its result.
#include "type_library.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace comrt::internal {

namespace {

constexpr SHORT kMaxParams = 16;

bool isIntegral(VARTYPE vt) {
    switch (vt) {
        case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
        case VT_INT: case VT_UINT: case VT_BOOL: case VT_EMPTY:
            return true;
        default:
            return false;
    }
}

std::int64_t integralValue(const VARIANT& v) {
    switch (v.vt) {
        case VT_I1: return v.cVal;
        case VT_UI1: return v.bVal;
        case VT_I2: case VT_BOOL: return v.iVal;
        case VT_UI2: return v.uiVal;
        case VT_I4: case VT_INT: return v.lVal;
        case VT_UI4: case VT_UINT: return v.ulVal;
        default: return 0;
    }
}

// A by-value view of an argument passed by reference (the pointed-to data is borrowed).
bool dereference(const VARIANT& in, VARIANT& out) {
    std::memset(&out, 0, sizeof out);
    if ((in.vt & VT_BYREF) == 0) {
        out = in;
        return true;
    }
    const VARTYPE vt = in.vt & ~VT_BYREF;
    if (in.byref == nullptr) return false;
    if (vt == VT_VARIANT) {
        if ((in.pvarVal->vt & VT_BYREF) != 0) return false;
        out = *in.pvarVal;
        return true;
    }
    out.vt = vt;
    if ((vt & VT_ARRAY) != 0) {
        out.parray = *in.pparray;
        return true;
    }
    switch (vt) {
        case VT_I1: case VT_UI1: out.bVal = *in.pbVal; return true;
        case VT_I2: case VT_UI2: case VT_BOOL: out.iVal = *in.piVal; return true;
        case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: out.lVal = *in.plVal; return true;
        case VT_R4: out.fltVal = *in.pfltVal; return true;
        case VT_R8: out.dblVal = *in.pdblVal; return true;
        case VT_BSTR: out.bstrVal = *in.pbstrVal; return true;
        default: return false;
    }
}

// Converts one argument to the declared by-value type. The result borrows any string or array.
HRESULT coerceValue(const VARIANT& source, VARTYPE declared, VARIANT& out) {
    VARIANT v;
    if (!dereference(source, v)) return DISP_E_TYPEMISMATCH;
    std::memset(&out, 0, sizeof out);
    const VARTYPE base = declared == VT_USERDEFINED ? VARTYPE{VT_I4} : declared;
    out.vt = base;
    if ((base & VT_ARRAY) != 0) {
        VARTYPE element = VT_EMPTY;
        if (v.vt != base || v.parray == nullptr || FAILED(SafeArrayGetVartype(v.parray, &element)) ||
            element != (base & VT_TYPEMASK)) {
            return DISP_E_TYPEMISMATCH;
        }
        out.parray = v.parray;
        return S_OK;
    }
    if (base == VT_BSTR) {
        if (v.vt == VT_BSTR) {
            out.bstrVal = v.bstrVal;
            return S_OK;
        }
        return v.vt == VT_EMPTY ? S_OK : DISP_E_TYPEMISMATCH;
    }
    if (base == VT_R8) {
        if (v.vt == VT_R8) out.dblVal = v.dblVal;
        else if (v.vt == VT_R4) out.dblVal = v.fltVal;
        else if (isIntegral(v.vt)) out.dblVal = static_cast<double>(integralValue(v));
        else return DISP_E_TYPEMISMATCH;
        return S_OK;
    }
    std::int64_t value = 0;
    if (isIntegral(v.vt)) {
        value = integralValue(v);
    } else if (v.vt == VT_R8 || v.vt == VT_R4) {
        const double d = std::nearbyint(v.vt == VT_R8 ? v.dblVal : double{v.fltVal});
        if (!(d >= -2147483648.0 && d <= 4294967295.0)) return DISP_E_OVERFLOW;
        value = static_cast<std::int64_t>(d);
    } else {
        return DISP_E_TYPEMISMATCH;
    }
    switch (base) {
        case VT_UI1:
            if (value < 0 || value > 255) return DISP_E_OVERFLOW;
            out.bVal = static_cast<BYTE>(value);
            return S_OK;
        case VT_I2:
            if (value < std::numeric_limits<SHORT>::min() || value > std::numeric_limits<SHORT>::max()) {
                return DISP_E_OVERFLOW;
            }
            out.iVal = static_cast<SHORT>(value);
            return S_OK;
        case VT_I4:
            if (value < std::numeric_limits<LONG>::min() || value > std::numeric_limits<LONG>::max()) {
                return DISP_E_OVERFLOW;
            }
            out.lVal = static_cast<LONG>(value);
            return S_OK;
        default:
            return DISP_E_BADVARTYPE;
    }
}

// A by-reference parameter takes the caller's storage of exactly the declared type, directly
// or through a VT_VARIANT | VT_BYREF that holds it.
HRESULT coerceReference(const VARIANT& source, VARTYPE declared, VARIANT& out) {
    std::memset(&out, 0, sizeof out);
    out.vt = declared;
    const VARTYPE target = declared & ~VT_BYREF;
    if (source.vt == declared && source.byref != nullptr) {
        out.byref = source.byref;
        return S_OK;
    }
    if (source.vt == (VT_VARIANT | VT_BYREF) && source.pvarVal != nullptr && source.pvarVal->vt == target) {
        out.byref = &source.pvarVal->llVal;
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

void fillException(HRESULT hr, EXCEPINFO& info) {
    std::memset(&info, 0, sizeof info);
    info.scode = hr;
    IErrorInfo* error = nullptr;
    if (GetErrorInfo(0, &error) != S_OK) return;
    error->GetSource(&info.bstrSource);
    error->GetDescription(&info.bstrDescription);
    error->GetHelpFile(&info.bstrHelpFile);
    error->GetHelpContext(&info.dwHelpContext);
    error->Release();
}

}  // namespace

HRESULT invokeFunction(const FunctionDescription& function, void* instance, WORD flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    if ((flags & DISPATCH_METHOD) == 0 || function.thunk == nullptr) return DISP_E_MEMBERNOTFOUND;
    if (params == nullptr || (params->cArgs > 0 && params->rgvarg == nullptr) ||
        params->cNamedArgs > params->cArgs || (params->cNamedArgs > 0 && params->rgdispidNamedArgs == nullptr)) {
        return E_INVALIDARG;
    }
    if (function.paramCount > kMaxParams) return DISP_E_BADPARAMCOUNT;

    const SHORT count = function.paramCount;
    const bool hasRetval = count > 0 && (function.params[count - 1].flags & PARAMFLAG_FRETVAL) != 0;
    const UINT inputs = static_cast<UINT>(hasRetval ? count - 1 : count);
    const UINT positional = params->cArgs - params->cNamedArgs;
    if (params->cArgs > inputs || (params->cNamedArgs == 0 && params->cArgs != inputs)) return DISP_E_BADPARAMCOUNT;

    // Where each declared parameter's argument sits in rgvarg: positional ones last-first,
    // named ones wherever their identifiers say.
    int sourceOf[kMaxParams];
    for (int& s : sourceOf) s = -1;
    for (UINT p = 0; p < positional; ++p) sourceOf[p] = static_cast<int>(params->cArgs - 1 - p);
    for (UINT i = 0; i < params->cNamedArgs; ++i) {
        const DISPID id = params->rgdispidNamedArgs[i];
        if (id < 0 || static_cast<UINT>(id) >= inputs || sourceOf[id] != -1) {
            if (argumentError != nullptr) *argumentError = i;
            return DISP_E_PARAMNOTFOUND;
        }
        sourceOf[id] = static_cast<int>(i);
    }

    VARIANTARG args[kMaxParams];
    for (UINT p = 0; p < inputs; ++p) {
        if (sourceOf[p] < 0) return DISP_E_PARAMNOTOPTIONAL;
        const VARIANT& source = params->rgvarg[sourceOf[p]];
        const VARTYPE declared = function.params[p].vt;
        const HRESULT hr = (declared & VT_BYREF) != 0 ? coerceReference(source, declared, args[p])
                                                      : coerceValue(source, declared, args[p]);
        if (FAILED(hr)) {
            if (argumentError != nullptr) *argumentError = static_cast<UINT>(sourceOf[p]);
            return hr;
        }
    }
    VARIANT returned;
    VariantInit(&returned);
    if (hasRetval) {
        VARIANTARG& r = args[count - 1];
        std::memset(&r, 0, sizeof r);
        r.vt = function.params[count - 1].vt;
        r.byref = &returned.llVal;
    }

    const HRESULT hr = function.thunk(instance, args);
    if (FAILED(hr)) {
        if (exception == nullptr) return hr;
        fillException(hr, *exception);
        return DISP_E_EXCEPTION;
    }
    if (hasRetval) returned.vt = function.params[count - 1].vt & ~VT_BYREF;
    if (result != nullptr) {
        *result = returned;
    } else {
        VariantClear(&returned);
    }
    return hr;
}

}  // namespace comrt::internal
