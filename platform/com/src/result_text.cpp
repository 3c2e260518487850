// Meanings of status codes, for messages, and their hexadecimal form.
#include <comrt/comrt.h>

#include <cstdint>

namespace comrt {

namespace {

struct Meaning {
    HRESULT code;
    const char* text;
};

constexpr Meaning kMeanings[] = {
    {S_OK, "Success"},
    {S_FALSE, "Success, but not everything was done"},
    {E_NOTIMPL, "Not implemented"},
    {E_NOINTERFACE, "No such interface supported"},
    {E_POINTER, "Invalid pointer"},
    {E_ABORT, "Operation aborted"},
    {E_FAIL, "Unspecified error"},
    {E_UNEXPECTED, "Catastrophic failure"},
    {E_ACCESSDENIED, "General access denied error"},
    {E_HANDLE, "Invalid handle"},
    {E_OUTOFMEMORY, "Not enough memory"},
    {E_INVALIDARG, "One or more arguments are invalid"},
    {CLASS_E_NOAGGREGATION, "Class does not support aggregation"},
    {CLASS_E_CLASSNOTAVAILABLE, "Class is not available from this server"},
    {REGDB_E_READREGDB, "Could not read the registry (the registry file is damaged or unreadable)"},
    {REGDB_E_WRITEREGDB, "Could not write the registry"},
    {REGDB_E_CLASSNOTREG, "Class not registered"},
    {CO_E_NOTINITIALIZED, "CoInitialize has not been called"},
    {CO_E_CLASSSTRING, "Invalid class string"},
    {CO_E_DLLNOTFOUND, "The server module could not be loaded"},
    {CO_E_ERRORINDLL, "The server module lacks an entry point"},
    {SELFREG_E_TYPELIB, "Failed to register the type library"},
    {SELFREG_E_CLASS, "Failed to register the class"},
    {DISP_E_UNKNOWNINTERFACE, "Unknown interface"},
    {DISP_E_MEMBERNOTFOUND, "Member not found"},
    {DISP_E_PARAMNOTFOUND, "Parameter not found"},
    {DISP_E_TYPEMISMATCH, "Type mismatch"},
    {DISP_E_UNKNOWNNAME, "Unknown name"},
    {DISP_E_NONAMEDARGS, "No named arguments"},
    {DISP_E_BADVARTYPE, "Bad variable type"},
    {DISP_E_EXCEPTION, "Exception occurred"},
    {DISP_E_OVERFLOW, "Out of present range"},
    {DISP_E_BADINDEX, "Invalid index"},
    {DISP_E_ARRAYISLOCKED, "Memory is locked"},
    {DISP_E_BADPARAMCOUNT, "Invalid number of parameters"},
    {DISP_E_PARAMNOTOPTIONAL, "Parameter not optional"},
    {TYPE_E_REGISTRYACCESS, "Error accessing the registry"},
    {TYPE_E_LIBNOTREGISTERED, "Library not registered"},
    {TYPE_E_ELEMENTNOTFOUND, "Element not found"},
    {TYPE_E_CANTLOADLIBRARY, "Error loading type library"},
};

}  // namespace

std::string ResultText(HRESULT hr) {
    for (const Meaning& m : kMeanings) {
        if (m.code == hr) return m.text;
    }
    return "Unknown error";
}

std::string ResultHex(HRESULT hr) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const auto bits = static_cast<std::uint32_t>(hr);
    std::string out = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) out.push_back(kDigits[(bits >> shift) & 0xF]);
    return out;
}

}  // namespace comrt
