// Helpers shared by the runtime's sources; not installed.
#pragma once

#include <comrt/comrt.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace comrt::internal {

// False when the allocation fault hook says this allocation must fail.
bool allocationAllowed();
// malloc that honours the allocation fault hook.
void* allocate(std::size_t bytes);

// UTF-16 up to the first zero (null: empty) to UTF-8; a lone surrogate becomes U+FFFD.
std::string toUtf8(const OLECHAR* text);
std::string toUtf8(std::u16string_view text);
// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::u16string toUtf16(std::string_view text);
// Appends text to out; false when some sequence was malformed (and replaced: by U+FFFD, or
// with escapeBytes by the lone surrogate U+DC00 + byte for each byte of it).
bool decodeUtf8(std::string_view text, std::u16string& out, bool escapeBytes = false);
// File names are bytes, which need not be UTF-8. Their wide form keeps each byte of a malformed
// sequence as the lone surrogate U+DC80..U+DCFF, so a name goes to wide text and back unchanged.
std::u16string pathToWide(std::string_view path);
std::string wideToPath(std::u16string_view path);
// A new BSTR holding text; null when out of memory.
BSTR allocString(std::u16string_view text);
BSTR allocString(std::string_view utf8);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
std::string guidText(REFGUID guid);
bool parseGuid(std::string_view text, GUID& guid);

// Lower-cases ASCII letters only: registry names and member names compare this way.
std::string asciiLower(std::string_view text);
bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Opens a server module once per process (by its real path); null when it cannot be loaded.
void* loadModule(const std::string& path);

// Runs body; an exception escaping it (in practice std::bad_alloc) becomes failure, because no
// exception may leave a runtime call.
template <typename R, typename F>
R guarded(R failure, F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

}  // namespace comrt::internal
