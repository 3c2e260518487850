// Translation of quantity expressions into the preferred units of unit systems, on arbitrary
// text over the fixed database. An input is up to three lines: a quantity expression, and
// definitions for the scratch quantities Y and Z (which may name each other, themselves or
// the 40-deep chain of the fixed database). The expression, Y and Z are each translated
// between every pair of unit systems, converted and rendered. Besides surviving: a system
// converts into itself with factor 1 and add 0; dimensional analysis only ever adds
// E_DIMENSIONS_DIFFER, and never between the two consistent systems SI and English; and
// there and back again multiplies by 1.
#include "fixed_database.h"
#include "fuzz_support.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace kestrum;
using namespace kestrum::fuzz;

namespace {

constexpr const char* kSystems[] = {"SI", "English", "Bare", "Odd"};

Conversion convert(Engine& e, std::string_view from, std::string_view to, std::string_view quantity) {
    Conversion c{S_OK};
    c.rc = e.QuantityExpression_Convert(from, to, quantity, c.add, c.multiplyBy);
    return c;
}

std::string_view nextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    return line;
}

void define(Engine& e, std::string_view quantity, std::string_view expression) {
    if (e.Quantity_Expression_Replace(quantity, expression) != S_OK)
        KESTRUM_FUZZ_CHECK(e.Quantity_Expression_Replace(quantity, "") == S_OK, "cannot reset a scratch quantity");
}

void translate(Engine& e, std::string_view q) {
    const std::string what = "quantity expression \"" + std::string(q) + "\": ";
    for (const char* from : kSystems) {
        std::string symbol;
        e.QuantityExpression_Symbol(from, q, symbol);
        const Conversion self = convert(e, from, from, q);
        KESTRUM_FUZZ_CHECK(self.rc != S_OK || (self.multiplyBy == 1.0 && self.add == 0.0),
                           what + from + " into itself gives " + self.text());
        for (const char* to : kSystems) {
            if (std::string_view(to) == from) continue;
            const Conversion plain = convert(e, from, to, q);
            KESTRUM_FUZZ_CHECK(plain.rc != S_OK || (std::isfinite(plain.multiplyBy) && std::isfinite(plain.add)),
                               what + from + " into " + to + " succeeded with " + plain.text());
        }
    }

    const Conversion there = convert(e, "SI", "English", q);
    const Conversion back = convert(e, "English", "SI", q);
    if (there.rc == S_OK && back.rc == S_OK && std::isnormal(there.multiplyBy) && std::isnormal(back.multiplyBy)) {
        const double roundTrip = there.multiplyBy * back.multiplyBy;
        KESTRUM_FUZZ_CHECK(std::abs(roundTrip - 1.0) <= 1e-9, what + "SI to English " + there.text() +
                                                                  " and back " + back.text() + " do not cancel");
    }

    KESTRUM_FUZZ_CHECK(e.EnableDimensionalAnalysis(true) == S_OK, "cannot switch dimensional analysis on");
    const Conversion checked = convert(e, "SI", "English", q);
    const Conversion odd = convert(e, "Odd", "SI", q);
    e.EnableDimensionalAnalysis(false);
    const Conversion oddPlain = convert(e, "Odd", "SI", q);
    KESTRUM_FUZZ_CHECK(checked.rc == there.rc || checked.rc == E_DIMENSIONS_DIFFER,
                       what + "dimensional analysis turned " + there.text() + " into " + checked.text());
    KESTRUM_FUZZ_CHECK(checked.rc != E_DIMENSIONS_DIFFER,
                       what + "SI and English prefer units of the same dimensions, yet they differ");
    KESTRUM_FUZZ_CHECK(checked.rc != S_OK || (checked.add == there.add && checked.multiplyBy == there.multiplyBy),
                       what + "dimensional analysis changed the numbers: " + there.text() + " became " +
                           checked.text());
    KESTRUM_FUZZ_CHECK(odd.rc == oddPlain.rc || odd.rc == E_DIMENSIONS_DIFFER,
                       what + "dimensional analysis turned " + oddPlain.text() + " into " + odd.text());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture f;
    Engine& e = f.e;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string_view expression = nextLine(text);
    define(e, "Y", nextLine(text));
    define(e, "Z", nextLine(text));
    e.EnableDimensionalAnalysis(false);

    translate(e, expression);
    translate(e, "Y");
    translate(e, "Z");
    return 0;
}
