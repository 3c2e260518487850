// Splitting unit and quantity expressions into terms.
#pragma once

#include <kestrum/result.h>

#include <cstdint>
#include <string_view>

namespace kestrum {

// Splits the first term off the front of text (which has already lost its leading operator):
// a name or number up to the next "*" or "/"; a name with a one-character exponent ("m^2");
// or the inside of a parenthesised group, returned whole. false for anything else: a "(" that
// does not start the term, unbalanced parentheses, a lone operator, or an exponent that is an
// operator ("m^*s", which would otherwise split into a group that splits into itself forever).
bool splitNextTerm(std::string_view& text, std::string_view& term);

// A term that contains "*" or "/" came from a parenthesised group and is evaluated recursively.
inline bool isGroup(std::string_view term) { return term.find_first_of("*/") != std::string_view::npos; }

// Exponents stay within what a dimension vector can carry across the interface (16 bits).
inline constexpr std::int64_t kMaxExponent = 32767;

// Splits a name term into its name and exponent (0 when it has none). "^" last, an exponent
// that reads as 0 (not a number) or one out of range is an invalid expression.
Result splitExponent(std::string_view term, std::string_view& name, std::int64_t& exponent);

}  // namespace kestrum
