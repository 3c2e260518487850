// Splitting unit and quantity expressions into terms.
#pragma once

#include <kestrum/result.h>

#include <cstdint>
#include <string_view>

namespace kestrum {

// Splits the first term off the front of text (which has already lost its leading operator):
// a name or number up to the next "*" or "/"; a name or number with an exponent of an optional
// sign and all its digits ("m^2", "m^-3", "10^12");
// or the inside of a parenthesised group, returned whole. false for anything else: a "(" that
// does not start the term, unbalanced parentheses, a lone operator, or an exponent that is an
// operator ("m^*s", which would otherwise split into a group that splits into itself forever).
bool splitNextTerm(std::string_view& text, std::string_view& term);

// The first position of any of the characters in Set, or npos. A plain loop: the library's
// find_first_of asks memchr about the set for every character of the text.
template <char... Set>
std::size_t findAny(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (((text[i] == Set) || ...)) return i;
    return std::string_view::npos;
}

// A term that contains "*" or "/" came from a parenthesised group and is evaluated recursively.
inline bool isGroup(std::string_view term) { return findAny<'*', '/'>(term) != std::string_view::npos; }

// Exponents stay within what a dimension vector can carry across the interface (16 bits).
inline constexpr std::int64_t kMaxExponent = 32767;

// Splits a name term into its name and exponent (0 when it has none). "^" last, an exponent
// that reads as 0 (not a number) or one out of range is an invalid expression.
Result splitExponent(std::string_view term, std::string_view& name, std::int64_t& exponent);

// What a term that is not a group stands for: number * name^exponent. A term that starts with
// a non-zero number is a number ("1000", "10^3" = 1000, "2^-1" = 0.5), or a number against a
// name ("100km" = 100 km, "100km^2" = 100 km^2); any other term is a name with an optional
// exponent.
struct TermParts {
    double number = 0.0;         // 0 when the term has no number
    std::string_view numberText;  // the number as written ("10^3" for a power)
    std::string_view name;        // empty for a number term
    std::int64_t exponent = 0;    // of the name; 0 when it has none
    bool isNumber() const { return number != 0.0 && name.empty(); }
};
Result parseTerm(std::string_view term, TermParts& parts);

}  // namespace kestrum
