// Text rules shared by every engine operation: case folding, the name check, reading numbers,
// and what a UTF-8 string must be to be stored (and written to an XML file) at all.
#pragma once

#include <kestrum/result.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrum {

// Limits are counted in UTF-16 code units, as the component's wide strings count them.
inline constexpr std::size_t kMaxNameLength = 50;
inline constexpr std::size_t kMaxExpressionLength = 500;
inline constexpr std::size_t kMaxPathLength = 259;
// The longest UTF-8 form of a name within kMaxNameLength (three bytes per code unit).
inline constexpr std::size_t kMaxNameBytes = 3 * kMaxNameLength;

std::size_t utf16Length(std::string_view text);

inline char foldAscii(char c) {
    return static_cast<char>(c + (static_cast<unsigned char>(c - 'A') < 26 ? 'a' - 'A' : 0));
}
std::string foldCase(std::string_view text);
bool hasUpperAscii(std::string_view text);

// A lookup key: the folded name in a stack buffer, or invalid when the name is too long to
// name anything (it could never have been stored).
class NameKey {
public:
    explicit NameKey(std::string_view name);
    bool valid() const { return m_valid; }
    std::string_view view() const { return {m_buffer, m_size}; }
    std::string str() const { return std::string(view()); }

private:
    char m_buffer[kMaxNameBytes];
    std::size_t m_size = 0;
    bool m_valid = false;
};

// Reads the leading decimal number of text: leading white space, optional sign, digits with an
// optional fraction, optional exponent; stops at the first character that does not fit. No hex,
// no inf, no nan, whatever the locale. 0 when the text does not start with a number; out-of-range
// magnitudes give +-infinity or 0 as a C library would.
double readLeadingNumber(std::string_view text);
// The same, and where the number ends (0 when there is none).
double readLeadingNumber(std::string_view text, std::size_t& end);
// Reads a leading decimal integer (white space, optional sign, digits); 0 when there is none.
// Saturates at the int64 range so callers can refuse huge values.
std::int64_t readLeadingInteger(std::string_view text);

// A name that may be added, in one pass: not empty, at most 50 UTF-16 code units, none of
// " */().^", not starting with a non-zero number, and storable: what an XML file cannot hold is
// refused on entry (well-formed UTF-8 of XML characters, nothing below U+0020).
bool isAcceptableNewName(std::string_view name);
// Symbols and expressions: storable as names are, but tab, LF and CR are allowed.
bool isStorableText(std::string_view text);
// An expression an edit stores: storable text of at most kMaxExpressionLength UTF-16 code units.
inline bool isStorableExpression(std::string_view text) {
    return utf16Length(text) <= kMaxExpressionLength && isStorableText(text);
}
bool isValidUtf8(std::string_view text);

// The shortest decimal text that reads back to the same double.
std::string shortestNumber(double value);

}  // namespace kestrum
