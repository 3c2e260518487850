// Running out of memory: the component turns std::bad_alloc into E_OUTOFMEMORY and carries on,
// so an operation that is interrupted by a failed allocation must leave an engine that still
// gives the right answers afterwards. Every allocation of an operation is failed in turn.
#include "test_support.h"

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

namespace {
std::atomic<long> g_allocationsLeft{-1};  // -1: never fail
}  // namespace

// The replacements pair malloc with free themselves.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (g_allocationsLeft.load() >= 0 && g_allocationsLeft.fetch_sub(1) == 0) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace kestrum::test {
namespace {

// An engine that has read an empty database and holds the small database.
struct Loaded {
    Loaded() {
        writeFile(dir.file("empty.xml"), kEmptyDatabaseFile);
        EXPECT_OK(e.Initialize(dir.file("empty.xml")));
        buildSmallDatabase(e);
        addQuantityExpression(e, "Acceleration", "Velocity/Time");
        addUnitExpression(e, "kmh", "Velocity", "km/h");
        addUnitExpression(e, "g0", "Length", "9.80665*m");
        EXPECT_OK(e.Unit_Synonym_Add("m", "Metre"));
    }
    TempDir dir;
    Engine e;
};

// Runs operation with its first, second, third... allocation failing until it completes, and
// after each failure checks that the engine still answers as a fresh one does.
void failEveryAllocation(const std::function<Result(Engine&)>& operation, const std::function<void(Engine&)>& check,
                         const std::function<void(Engine&)>& build = [](Engine&) {}) {
    const bool failingBefore = ::testing::Test::HasFailure();
    for (long n = 0;; ++n) {
        Loaded h;
        build(h.e);
        bool failed = false;
        g_allocationsLeft = n;
        try {
            operation(h.e);
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        g_allocationsLeft = -1;
        check(h.e);
        if (::testing::Test::HasFailure() && !failingBefore) {
            ADD_FAILURE() << "after allocation " << n << " failed";
            return;
        }
        if (!failed) return;
    }
}

double factor(Engine& e, std::string_view from, std::string_view to) {
    double add = 0, multiplyBy = 0;
    EXPECT_OK(e.UnitExpression_Convert(from, to, add, multiplyBy)) << from << " -> " << to;
    return multiplyBy;
}

TEST(AllocationFailure, ConversionsGoOnGivingTheRightAnswers) {
    failEveryAllocation(
        [](Engine& e) {
            double add = 0, multiplyBy = 0;
            return e.UnitExpression_Convert("kmh*g0", "m^2/s", add, multiplyBy);
        },
                        [](Engine& e) { EXPECT_TRUE(near(factor(e, "kmh*g0", "m^2/s"), 9.80665 / 3.6)); });
}

TEST(AllocationFailure, TranslationsGoOnGivingTheRightAnswers) {
    failEveryAllocation(
        [](Engine& e) {
            std::string symbol;
            return e.QuantityExpression_Symbol("English", "Acceleration*Power/Velocity", symbol);
        },
        [](Engine& e) {
            std::string symbol;
            EXPECT_OK(e.QuantityExpression_Symbol("English", "Acceleration*Power/Velocity", symbol));
            EXPECT_EQ(symbol, "lb.ft\xC2\xB2/h^4");
            double add = 0, multiplyBy = 0;
            EXPECT_OK(e.QuantityExpression_Convert("SI", "English", "Acceleration", add, multiplyBy));
            EXPECT_TRUE(near(multiplyBy, 3600.0 * 3600 / 0.3048));
        });
}

TEST(AllocationFailure, AReadOrAWriteThatRunsOutChangesNothing) {
    TempDir files;
    const std::string rich = files.file("rich.xml");
    {
        Loaded source;
        ASSERT_OK(source.e.Quantity_Synonym_Add("Length", "Distance"));
        ASSERT_OK(source.e.WriteUnitDatabase(rich));
    }
    std::string before;
    failEveryAllocation([&](Engine& e) { return e.ReadUnitDatabase(rich, APPEND); },
                        [&](Engine& e) {
                            const std::string now = dump(e);
                            std::vector<std::string> synonyms;
                            ASSERT_OK(e.Quantity_Synonym_Set("Length", synonyms));
                            if (synonyms.empty()) {
                                EXPECT_EQ(now, before) << "a half-merged read";
                            }
                        },
                        [&](Engine& e) { before = dump(e); });
    const std::string target = files.file("target.xml");
    failEveryAllocation([&](Engine& e) { return e.WriteUnitDatabase(target); },
                        [&](Engine& e) {
                            const std::string text = readFile(target);
                            EXPECT_TRUE(text == "old" || text.find("</UNITS_DATABASE>") != std::string::npos) << text;
                            (void)e;
                        },
                        [&](Engine&) { writeFile(target, "old"); });
}

// An edit is all or nothing: when an allocation fails part way, the database is as it was, and
// nothing half-done stays behind in the name indexes (the same edit then goes through whole).
TEST(AllocationFailure, AnEditThatRunsOutChangesNothing) {
    const std::vector<std::pair<const char*, std::function<Result(Engine&)>>> edits = {
        {"Quantity_Add", [](Engine& e) { return e.Quantity_Add("Speed"); }},
        {"Quantity_Rename", [](Engine& e) { return e.Quantity_Rename("Length", "Distance_Quantity"); }},
        {"Quantity_Synonym_Add", [](Engine& e) { return e.Quantity_Synonym_Add("Length", "Span"); }},
        {"Quantity_Remove", [](Engine& e) { return e.Quantity_Remove("Time"); }},
        {"Quantity_Expression_Replace",
         [](Engine& e) { return e.Quantity_Expression_Replace("Velocity", "Length/Time/Time"); }},
        {"Unit_Add", [](Engine& e) { return e.Unit_Add("furlong_of_the_old_kingdom", "Length"); }},
        {"Unit_Rename", [](Engine& e) { return e.Unit_Rename("m", "metre_renamed_for_the_test"); }},
        {"Unit_Synonym_Add", [](Engine& e) { return e.Unit_Synonym_Add("m", "meter_synonym_for_the_test"); }},
        {"Unit_Remove", [](Engine& e) { return e.Unit_Remove("Metre"); }},
        {"Unit_Quantity_Replace", [](Engine& e) { return e.Unit_Quantity_Replace("h", "Length"); }},
        {"Unit_Expression_Replace", [](Engine& e) { return e.Unit_Expression_Replace("km", "1000*m*m/m/m*m"); }},
        {"Unit_Symbol_Replace", [](Engine& e) { return e.Unit_Symbol_Replace("km", "a symbol longer than fifteen"); }},
        {"UnitSystem_Add", [](Engine& e) { return e.UnitSystem_Add("Centimetre_Gram_Second"); }},
        {"UnitSystem_Rename", [](Engine& e) { return e.UnitSystem_Rename("English", "Imperial_Units_Renamed"); }},
        {"UnitSystem_PrefUnit_Replace", [](Engine& e) { return e.UnitSystem_PrefUnit_Replace("SI", "Length", "km"); }},
    };
    for (const auto& [label, edit] : edits) {
        Loaded reference;
        ASSERT_OK(edit(reference.e)) << label;
        const std::string expected = dump(reference.e);
        for (long n = 0;; ++n) {
            Loaded h;
            const std::string before = dump(h.e);
            bool failed = false;
            Result rc = S_OK;
            g_allocationsLeft = n;
            try {
                rc = edit(h.e);
            } catch (const std::bad_alloc&) {
                failed = true;
            }
            g_allocationsLeft = -1;
            if (!failed) {
                EXPECT_OK(rc) << label;
                break;
            }
            EXPECT_EQ(dump(h.e), before) << label << ": allocation " << n << " failed";
            EXPECT_OK(edit(h.e)) << label << ": after allocation " << n << " failed";
            EXPECT_EQ(dump(h.e), expected) << label << ": after allocation " << n << " failed";
            if (::testing::Test::HasFailure()) return;
        }
    }
}

}  // namespace
}  // namespace kestrum::test
