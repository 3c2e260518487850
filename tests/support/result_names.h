// The name of a result code, for failure messages of tests and fuzz checks.
#pragma once

#include <kestrum/result.h>

#include <charconv>
#include <cstdint>
#include <string>

namespace kestrum::test_support {

inline std::string resultName(Result rc) {
    struct Named {
        Result code;
        const char* name;
    };
    static const Named kNames[] = {
        {S_OK, "S_OK"},
        {E_UDB_FILE_NOT_FOUND, "E_UDB_FILE_NOT_FOUND"},
        {E_UDB_CORRUPT, "E_UDB_CORRUPT"},
        {E_UNIT_NOT_FOUND, "E_UNIT_NOT_FOUND"},
        {E_NOT_INITIALIZED, "E_NOT_INITIALIZED"},
        {E_INVALID_EXPRESSION, "E_INVALID_EXPRESSION"},
        {E_INTERNAL, "E_INTERNAL"},
        {E_DIVIDE_BY_ZERO, "E_DIVIDE_BY_ZERO"},
        {E_DIMENSIONS_DIFFER, "E_DIMENSIONS_DIFFER"},
        {E_QUANTITY_NOT_FOUND, "E_QUANTITY_NOT_FOUND"},
        {E_UNIT_SYSTEM_NOT_FOUND, "E_UNIT_SYSTEM_NOT_FOUND"},
        {E_NO_WRITE_PERMISSION, "E_NO_WRITE_PERMISSION"},
        {E_EXPRESSION_DETERMINES, "E_EXPRESSION_DETERMINES"},
        {E_SYNONYM_NOT_FOUND, "E_SYNONYM_NOT_FOUND"},
        {E_NAME_EXISTS, "E_NAME_EXISTS"},
        {E_NAME_NOT_ACCEPTABLE, "E_NAME_NOT_ACCEPTABLE"},
        {E_NO_PREFERRED_UNIT_BASIC, "E_NO_PREFERRED_UNIT_BASIC"},
        {E_NO_PREFERRED_UNIT_CONSTANT, "E_NO_PREFERRED_UNIT_CONSTANT"},
        {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    };
    for (const auto& n : kNames)
        if (n.code == rc) return n.name;
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<std::uint32_t>(rc), 16);
    return "0x" + std::string(buf, res.ptr);
}

}  // namespace kestrum::test_support
