// Late-bound calls: DISPPARAMS to declared parameter types, the call, and its result.
#include "type_library.h"

#include <cstring>

namespace comrt::internal {

namespace {

constexpr SHORT kMaxParams = 16;

// One argument on its way to the operation: a value the runtime converted (freed after the
// call), and the caller's variant that takes the converted value back when the operation
// changed it in place.
struct Argument {
    Argument() { VariantInit(&owned); }
    ~Argument() { VariantClear(&owned); }
    Argument(const Argument&) = delete;
    Argument& operator=(const Argument&) = delete;

    VARIANT owned;
    VARIANT* writeBack = nullptr;
};

// Converts one argument to the declared by-value type, as automation does. A string or array
// of the declared type is borrowed, not copied.
HRESULT coerceValue(const VARIANT& source, VARTYPE declared, VARIANT& out, Argument& arg) {
    std::memset(&out, 0, sizeof out);
    const VARTYPE base = declared == VT_USERDEFINED ? VARTYPE{VT_I4} : declared;
    if (source.vt == VT_ERROR && source.scode == DISP_E_PARAMNOTFOUND) return DISP_E_PARAMNOTOPTIONAL;
    VARIANT v;
    std::memset(&v, 0, sizeof v);
    if ((source.vt & VT_BYREF) != 0) {
        if (source.byref == nullptr) return DISP_E_TYPEMISMATCH;
        if (source.vt == (VT_VARIANT | VT_BYREF)) {
            v = *source.pvarVal;
        } else if ((source.vt & VT_ARRAY) != 0) {
            v.vt = source.vt & ~VT_BYREF;
            v.parray = *source.pparray;
        } else if (source.vt == (VT_BSTR | VT_BYREF)) {
            v.vt = VT_BSTR;
            v.bstrVal = *source.pbstrVal;
        }
    }
    const VARIANT& value = (source.vt & VT_BYREF) != 0 && v.vt != VT_EMPTY ? v : source;
    out.vt = base;
    if ((base & VT_ARRAY) != 0) {
        VARTYPE element = VT_EMPTY;
        if (value.vt != base || value.parray == nullptr || FAILED(SafeArrayGetVartype(value.parray, &element)) ||
            element != (base & VT_TYPEMASK)) {
            return DISP_E_TYPEMISMATCH;
        }
        out.parray = value.parray;
        return S_OK;
    }
    if (base == VT_BSTR && value.vt == VT_BSTR) {
        out.bstrVal = value.bstrVal;
        return S_OK;
    }
    if (const HRESULT hr = VariantChangeType(&arg.owned, &value, 0, base); FAILED(hr)) return hr;
    out = arg.owned;
    return S_OK;
}

// A by-reference parameter takes the caller's storage of exactly the declared type, directly or
// through a VT_VARIANT reference that holds it. A VT_VARIANT reference holding another type (a
// script's variable: an integer where a double is declared) is converted into storage of the
// runtime's own, which the variable takes back when the operation succeeds.
HRESULT coerceReference(const VARIANT& source, VARTYPE declared, VARIANT& out, Argument& arg) {
    std::memset(&out, 0, sizeof out);
    out.vt = declared;
    const VARTYPE target = declared & ~VT_BYREF;
    if (source.vt == declared && source.byref != nullptr) {
        out.byref = source.byref;
        return S_OK;
    }
    if (source.vt != (VT_VARIANT | VT_BYREF) || source.pvarVal == nullptr) return DISP_E_TYPEMISMATCH;
    VARIANT* held = source.pvarVal;
    if (held->vt == target) {
        out.byref = &held->llVal;
        return S_OK;
    }
    if ((held->vt & (VT_BYREF | VT_ARRAY)) != 0 || (target & VT_ARRAY) != 0) return DISP_E_TYPEMISMATCH;
    if (const HRESULT hr = VariantChangeType(&arg.owned, held, 0, target); FAILED(hr)) return hr;
    out.byref = &arg.owned.llVal;
    arg.writeBack = held;
    return S_OK;
}

void fillException(HRESULT hr, IErrorInfo* error, EXCEPINFO& info) {
    std::memset(&info, 0, sizeof info);
    info.scode = hr;
    if (error == nullptr) return;
    error->GetSource(&info.bstrSource);
    error->GetDescription(&info.bstrDescription);
    error->GetHelpFile(&info.bstrHelpFile);
    error->GetHelpContext(&info.dwHelpContext);
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
    Argument converted[kMaxParams];
    for (UINT p = 0; p < inputs; ++p) {
        if (sourceOf[p] < 0) return DISP_E_PARAMNOTOPTIONAL;
        const VARIANT& source = params->rgvarg[sourceOf[p]];
        const VARTYPE declared = function.params[p].vt;
        const HRESULT hr = (declared & VT_BYREF) != 0 ? coerceReference(source, declared, args[p], converted[p])
                                                      : coerceValue(source, declared, args[p], converted[p]);
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

    // The thread's error object is set aside during the call: only one that the call posts
    // describes its failure, never one an earlier call left behind.
    IErrorInfo* earlier = nullptr;
    GetErrorInfo(0, &earlier);
    const HRESULT hr = function.thunk(instance, args);
    IErrorInfo* posted = nullptr;
    GetErrorInfo(0, &posted);
    const bool described = FAILED(hr) && exception != nullptr;
    if (described) fillException(hr, posted, *exception);
    if (posted != nullptr && !described) SetErrorInfo(0, posted);
    if (posted == nullptr) SetErrorInfo(0, earlier);
    if (posted != nullptr) posted->Release();
    if (earlier != nullptr) earlier->Release();
    if (FAILED(hr)) return described ? DISP_E_EXCEPTION : hr;

    for (UINT p = 0; p < inputs; ++p) {
        if (converted[p].writeBack == nullptr) continue;
        VariantClear(converted[p].writeBack);
        *converted[p].writeBack = converted[p].owned;
        VariantInit(&converted[p].owned);
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
