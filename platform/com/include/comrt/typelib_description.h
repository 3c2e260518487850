// The type-library table that an in-process server exports from its module.
//
// A server describes its library as static data and exports
//     extern "C" const comrt::TypeLibDescription* DllGetTypeLibDescription();
// LoadTypeLib reads it from there. Every operation of a dispatchable interface carries a thunk
// that calls the operation on an interface pointer with arguments the runtime has already
// converted to the declared types, so ITypeInfo::Invoke needs no knowledge of the server.
// Build operation entries with comrt::DescribeMethod, which checks at compile time that the
// declared parameter types fit the C++ operation.
#pragma once

#include <comrt/dispatch.h>

#include <cstddef>
#include <type_traits>
#include <utility>

namespace comrt {

// vt is the variant type that carries the argument: VT_BSTR, VT_UI1, VT_I2, VT_I4, VT_R8,
// VT_ARRAY | VT_BSTR or VT_ARRAY | VT_I2, each optionally | VT_BYREF for a pointer parameter;
// VT_USERDEFINED names an enumeration of the library in typeName and travels as VT_I4.
struct ParamDescription {
    const OLECHAR* name;
    VARTYPE vt;
    USHORT flags;  // PARAMFLAG_FIN, PARAMFLAG_FOUT, PARAMFLAG_FRETVAL
    const OLECHAR* typeName = nullptr;
};

// args holds one variant per declared parameter, in declared order, of exactly the declared
// type; out-parameters arrive as VT_BYREF pointing at storage the runtime owns.
using InvokeThunk = HRESULT (*)(void* instance, VARIANTARG* args);

struct FunctionDescription {
    MEMBERID memid;
    const OLECHAR* name;
    const OLECHAR* helpString;
    const ParamDescription* params;
    SHORT paramCount;
    InvokeThunk thunk;  // null: not callable late-bound
};

struct ConstantDescription {
    const OLECHAR* name;
    LONG value;
};

struct ImplementedInterface {
    const GUID* iid;
    INT flags;  // IMPLTYPEFLAG_FDEFAULT
};

struct TypeDescription {
    TYPEKIND kind;  // TKIND_DISPATCH, TKIND_INTERFACE, TKIND_COCLASS or TKIND_ENUM
    GUID guid;
    const OLECHAR* name;
    const OLECHAR* helpString;
    WORD typeFlags;
    const FunctionDescription* functions = nullptr;
    WORD functionCount = 0;
    const ConstantDescription* constants = nullptr;
    WORD constantCount = 0;
    const ImplementedInterface* implemented = nullptr;
    WORD implementedCount = 0;
};

struct TypeLibDescription {
    GUID libid;
    WORD majorVersion;
    WORD minorVersion;
    LCID lcid;
    SYSKIND syskind;
    const OLECHAR* name;
    const OLECHAR* helpString;
    const OLECHAR* helpFile;         // null: none
    const OLECHAR* importedLibrary;  // the library IUnknown and IDispatch come from
    const TypeDescription* types;
    UINT typeCount;
};

using GetTypeLibDescriptionFn = const TypeLibDescription* (*)();
inline constexpr const char kTypeLibDescriptionSymbol[] = "DllGetTypeLibDescription";

namespace detail {

template <typename T>
constexpr bool carries(VARTYPE vt) {
    if constexpr (std::is_same_v<T, BSTR>) return vt == VT_BSTR;
    else if constexpr (std::is_same_v<T, BSTR*>) return vt == (VT_BSTR | VT_BYREF);
    else if constexpr (std::is_same_v<T, unsigned char>) return vt == VT_UI1;
    else if constexpr (std::is_same_v<T, SHORT>) return vt == VT_I2;
    else if constexpr (std::is_same_v<T, LONG>) return vt == VT_I4;
    else if constexpr (std::is_same_v<T, LONG*>) return vt == (VT_I4 | VT_BYREF);
    else if constexpr (std::is_same_v<T, double>) return vt == VT_R8;
    else if constexpr (std::is_same_v<T, double*>) return vt == (VT_R8 | VT_BYREF);
    else if constexpr (std::is_same_v<T, SAFEARRAY*>) return (vt & ~VT_TYPEMASK) == VT_ARRAY;
    else if constexpr (std::is_same_v<T, SAFEARRAY**>) return (vt & ~VT_TYPEMASK) == (VT_ARRAY | VT_BYREF);
    else if constexpr (std::is_enum_v<T>) return vt == VT_USERDEFINED;
    else return false;
}

template <typename T>
T fromArg(VARIANTARG& a) {
    if constexpr (std::is_same_v<T, BSTR>) return a.bstrVal;
    else if constexpr (std::is_same_v<T, BSTR*>) return a.pbstrVal;
    else if constexpr (std::is_same_v<T, unsigned char>) return a.bVal;
    else if constexpr (std::is_same_v<T, SHORT>) return a.iVal;
    else if constexpr (std::is_same_v<T, LONG>) return a.lVal;
    else if constexpr (std::is_same_v<T, LONG*>) return a.plVal;
    else if constexpr (std::is_same_v<T, double>) return a.dblVal;
    else if constexpr (std::is_same_v<T, double*>) return a.pdblVal;
    else if constexpr (std::is_same_v<T, SAFEARRAY*>) return a.parray;
    else if constexpr (std::is_same_v<T, SAFEARRAY**>) return a.pparray;
    else if constexpr (std::is_enum_v<T>) return static_cast<T>(a.lVal);
}

template <typename C, typename... A>
HRESULT callMember(HRESULT (C::*method)(A...), void* instance, VARIANTARG* args) {
    C* object = static_cast<C*>(instance);
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return (object->*method)(fromArg<A>(args[I])...);
    }(std::index_sequence_for<A...>{});
}

template <typename C, typename... A, std::size_t N>
consteval bool signatureFits(HRESULT (C::*)(A...), const ParamDescription (&params)[N]) {
    if (sizeof...(A) != N) return false;
    std::size_t i = 0;
    return (carries<A>(params[i++].vt) && ...);
}

template <typename C, typename... A>
consteval bool takesNothing(HRESULT (C::*)(A...)) {
    return sizeof...(A) == 0;
}

}  // namespace detail

template <auto Method>
HRESULT Thunk(void* instance, VARIANTARG* args) {
    return detail::callMember(Method, instance, args);
}

// An operation entry; refuses to compile when params do not match Method's parameters.
template <auto Method, std::size_t N>
consteval FunctionDescription DescribeMethod(MEMBERID memid, const OLECHAR* name, const OLECHAR* helpString,
                                             const ParamDescription (&params)[N]) {
    if (!detail::signatureFits(Method, params)) throw "the parameter table does not fit the operation";
    return {memid, name, helpString, params, static_cast<SHORT>(N), &Thunk<Method>};
}

// An operation without parameters.
template <auto Method>
consteval FunctionDescription DescribeMethod(MEMBERID memid, const OLECHAR* name, const OLECHAR* helpString) {
    if (!detail::takesNothing(Method)) throw "the operation takes parameters";
    return {memid, name, helpString, nullptr, 0, &Thunk<Method>};
}

}  // namespace comrt
