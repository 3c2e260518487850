// The unit expression evaluator and symbol rendering on arbitrary text, over the fixed
// database. An input is up to three lines: a "from" expression, a "to" expression, and a
// definition for the scratch unit X (the "from" expression when there is no third line).
// Besides surviving every input, the answers must agree with each other: dimensional analysis
// only ever adds E_DIMENSIONS_DIFFER, an expression converts to itself, to itself in
// parentheses and to a unit defined by it with factor 1 and add 0.
#include "fixed_database.h"
#include "fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace kestrum;
using namespace kestrum::fuzz;

namespace {

Conversion convert(Engine& e, std::string_view from, std::string_view to) {
    Conversion c{S_OK};
    c.rc = e.UnitExpression_Convert(from, to, c.add, c.multiplyBy);
    return c;
}

bool isIdentity(const Conversion& c) { return c.rc == S_OK && c.multiplyBy == 1.0 && c.add == 0.0; }

std::string_view nextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture f;
    Engine& e = f.e;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const bool threeLines = std::count(text.begin(), text.end(), '\n') >= 2;
    const std::string_view from = nextLine(text);
    const std::string_view to = nextLine(text);
    const std::string_view definition = threeLines ? nextLine(text) : from;

    // Every input starts from the same state: X defined anew (or as m when the definition is
    // refused), dimensional analysis off.
    const bool defined = e.Unit_Expression_Replace("X", definition) == S_OK;
    if (!defined) KESTRUM_FUZZ_CHECK(e.Unit_Expression_Replace("X", "m") == S_OK, "cannot reset X");
    e.EnableDimensionalAnalysis(false);

    std::string symbol;
    e.UnitExpression_Symbol(from, symbol);
    e.UnitExpression_Symbol(to, symbol);
    e.UnitExpression_Symbol(definition, symbol);

    const Conversion plain = convert(e, from, to);
    KESTRUM_FUZZ_CHECK(plain.rc != S_OK || (std::isfinite(plain.multiplyBy) && std::isfinite(plain.add)),
                       "a conversion succeeded with " + plain.text());
    const Conversion self = convert(e, from, from);
    KESTRUM_FUZZ_CHECK(self.rc != S_OK || isIdentity(self), "the expression converts to itself with " + self.text());

    // The same text as a group: when both evaluate, they are the same unit.
    const std::string grouped = "(" + std::string(from) + ")";
    const Conversion group = convert(e, grouped, from);
    KESTRUM_FUZZ_CHECK(self.rc != S_OK || group.rc != S_OK || isIdentity(group),
                       "the expression in parentheses converts to itself with " + group.text());

    // The deferred path (X's factor, worked out on demand) agrees with the direct one.
    if (defined) {
        const Conversion direct = convert(e, definition, definition);
        const Conversion viaX = convert(e, "X", definition);
        KESTRUM_FUZZ_CHECK(direct.rc != S_OK || isIdentity(viaX),
                           "X, defined as the expression, converts to it with " + viaX.text());
    }

    KESTRUM_FUZZ_CHECK(e.EnableDimensionalAnalysis(true) == S_OK, "cannot switch dimensional analysis on");
    const Conversion checked = convert(e, from, to);
    KESTRUM_FUZZ_CHECK(checked.rc == plain.rc || checked.rc == E_DIMENSIONS_DIFFER,
                       "dimensional analysis turned " + plain.text() + " into " + checked.text());
    KESTRUM_FUZZ_CHECK(checked.rc != S_OK || (checked.add == plain.add && checked.multiplyBy == plain.multiplyBy),
                       "dimensional analysis changed the numbers: " + plain.text() + " became " + checked.text());
    KESTRUM_FUZZ_CHECK(self.rc != S_OK || isIdentity(convert(e, from, from)),
                       "with dimensional analysis the expression no longer converts to itself");
    e.EnableDimensionalAnalysis(false);
    return 0;
}
