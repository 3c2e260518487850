// Narrow and wide text. Narrow text is UTF-8 (the process code page here, so CP_ACP and
// CP_UTF8 mean the same); wide text is UTF-16. Wide text read from a string parameter ends at
// its first zero character, whatever a BSTR length prefix says, because callers may pass
// plain terminated buffers.
#pragma once

#include <comrt/types.h>

#include <string>
#include <string_view>

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_UTF8 = 65001;
// Fail on malformed input instead of substituting U+FFFD.
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x08;

extern "C" {
// cbMultiByte -1: up to and including the terminator. cchWideChar 0: only count. Returns the
// wide characters written (or needed), 0 when the buffer is too small (nothing is written then)
// or the input is refused.
COMRT_API int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                                  LPOLESTR lpWideCharStr, int cchWideChar);
// The reverse; lpDefaultChar and lpUsedDefaultChar must be null, as for UTF-8 on the platform.
// A lone surrogate becomes U+FFFD.
COMRT_API int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCOLESTR lpWideCharStr, int cchWideChar,
                                  LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                                  BOOL* lpUsedDefaultChar);
}

namespace comrt {
// Wide text up to its first zero (null: empty) as UTF-8; a lone surrogate becomes U+FFFD.
COMRT_API std::string ToUtf8(const OLECHAR* text);
COMRT_API std::string ToUtf8(std::u16string_view text);
COMRT_API std::u16string ToUtf16(std::string_view utf8);
// File names are bytes that need not be UTF-8. PathToWide keeps each byte of a malformed
// sequence as the lone surrogate U+DC80..U+DCFF; WideToPath turns those back into the bytes, so
// any file name survives the trip through wide text (LoadTypeLib and RegisterTypeLib read their
// paths this way).
COMRT_API std::u16string PathToWide(std::string_view path);
COMRT_API std::string WideToPath(const OLECHAR* path);
// A new BSTR holding utf8 as UTF-16 (a malformed byte becomes U+FFFD); null when out of memory.
COMRT_API BSTR Utf8ToBstr(std::string_view utf8);
}  // namespace comrt
