// Running out of memory: an operation that is interrupted by a failed allocation returns
// E_OUTOFMEMORY, throws nothing, changes nothing, and leaves an engine that still gives the
// right answers afterwards. Every allocation of an operation is failed in turn.
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
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

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
// after each failure checks that it said so and that the engine still answers as a fresh one does.
void failEveryAllocation(
    const std::function<Result(Engine&)>& operation, const std::function<void(Engine&)>& check,
    const std::function<void(Engine&)>& build = [](Engine&) {}) {
    const bool failingBefore = ::testing::Test::HasFailure();
    for (long n = 0;; ++n) {
        Loaded h;
        build(h.e);
        bool thrown = false;
        Result rc = S_OK;
        g_allocationsLeft = n;
        try {
            rc = operation(h.e);
        } catch (...) {
            thrown = true;
        }
        const bool ranOut = g_allocationsLeft.load() < 0;  // allocation n was refused
        g_allocationsLeft = -1;
        EXPECT_FALSE(thrown) << "an exception left the operation at allocation " << n;
        if (ranOut) {
            EXPECT_RC(E_OUTOFMEMORY, rc) << "allocation " << n;
        }
        check(h.e);
        if (::testing::Test::HasFailure() && !failingBefore) {
            ADD_FAILURE() << "after allocation " << n << " failed";
            return;
        }
        if (!ranOut) return;
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
            g_allocationsLeft = n;
            const Result rc = edit(h.e);
            const bool failed = g_allocationsLeft.load() < 0;
            g_allocationsLeft = -1;
            if (!failed) {
                EXPECT_OK(rc) << label;
                break;
            }
            EXPECT_RC(E_OUTOFMEMORY, rc) << label << ": allocation " << n << " failed";
            EXPECT_EQ(dump(h.e), before) << label << ": allocation " << n << " failed";
            EXPECT_OK(edit(h.e)) << label << ": after allocation " << n << " failed";
            EXPECT_EQ(dump(h.e), expected) << label << ": after allocation " << n << " failed";
            if (::testing::Test::HasFailure()) return;
        }
    }
}

// The operations not covered above: each one, at each of its allocations, says E_OUTOFMEMORY
// (never throws), leaves its outputs as they were, and leaves the database as it was.
TEST(AllocationFailure, EveryOtherOperationReturnsOutOfMemoryAndChangesNothing) {
    TempDir files;
    const std::string database = files.file("database.xml");
    {
        Loaded source;
        ASSERT_OK(source.e.Quantity_Synonym_Add("Length", "Distance"));
        ASSERT_OK(source.e.WriteUnitDatabase(database));
    }
    using Strings = std::vector<std::string>;
    const std::string kUntouched = "untouched";
    const std::vector<std::pair<const char*, std::function<Result(Engine&, std::string&, Strings&)>>> operations = {
        {"ReadUnitDatabase overwrite",
         [&](Engine& e, std::string&, Strings&) { return e.ReadUnitDatabase(database, OVERWRITE); }},
        {"UnitExpression_Symbol",
         [](Engine& e, std::string& out, Strings&) { return e.UnitExpression_Symbol("kmh*g0/s", out); }},
        {"QuantityExpression_Convert",
         [](Engine& e, std::string& out, Strings&) {
             double add = 7, multiplyBy = 7;
             const Result rc = e.QuantityExpression_Convert("SI", "English", "Velocity*Acceleration", add, multiplyBy);
             if (rc != S_OK && (add != 7 || multiplyBy != 7)) out = "outputs written on failure";
             return rc;
         }},
        {"Quantity_Set", [](Engine& e, std::string&, Strings& list) { return e.Quantity_Set(list); }},
        {"Unit_Set", [](Engine& e, std::string&, Strings& list) { return e.Unit_Set(list); }},
        {"UnitSystem_Set", [](Engine& e, std::string&, Strings& list) { return e.UnitSystem_Set(list); }},
        {"Quantity_Synonym_Set",
         [](Engine& e, std::string&, Strings& list) { return e.Quantity_Synonym_Set("Length", list); }},
        {"Unit_Synonym_Set", [](Engine& e, std::string&, Strings& list) { return e.Unit_Synonym_Set("m", list); }},
        {"Quantity_Unit_Set",
         [](Engine& e, std::string&, Strings& list) { return e.Quantity_Unit_Set("Length", list); }},
        {"Quantity_DimVector",
         [](Engine& e, std::string&, Strings&) {
             std::vector<std::int16_t> v;
             return e.Quantity_DimVector("Acceleration", v);
         }},
        {"Quantity_Expression",
         [](Engine& e, std::string& out, Strings&) { return e.Quantity_Expression("Acceleration", out); }},
        {"Unit_Quantity", [](Engine& e, std::string& out, Strings&) { return e.Unit_Quantity("kmh", out); }},
        {"Unit_Expression", [](Engine& e, std::string& out, Strings&) { return e.Unit_Expression("kmh", out); }},
        {"Unit_Symbol", [](Engine& e, std::string& out, Strings&) { return e.Unit_Symbol("km", out); }},
        {"Unit_ConversionFactor",
         [](Engine& e, std::string&, Strings&) {
             double f = 0;
             return e.Unit_ConversionFactor("kmh", f);
         }},
        {"Unit_ConversionOffset",
         [](Engine& e, std::string&, Strings&) {
             double f = 0;
             return e.Unit_ConversionOffset("degF", f);
         }},
        {"UnitSystem_PrefUnit",
         [](Engine& e, std::string& out, Strings&) { return e.UnitSystem_PrefUnit("English", "Length", out); }},
        {"Quantity_Synonym_Remove",
         [](Engine& e, std::string&, Strings&) { return e.Quantity_Synonym_Remove("Length", "Distance"); }},
        {"Quantity_DimVector_Replace",
         [](Engine& e, std::string&, Strings&) {
             const std::int16_t v[] = {1, 2, 3};
             return e.Quantity_DimVector_Replace("Temperature", v);
         }},
        {"Unit_Synonym_Remove", [](Engine& e, std::string&, Strings&) { return e.Unit_Synonym_Remove("m", "Metre"); }},
        {"Unit_ConversionFactor_Replace",
         [](Engine& e, std::string&, Strings&) { return e.Unit_ConversionFactor_Replace("ft", 0.3); }},
        {"Unit_ConversionOffset_Replace",
         [](Engine& e, std::string&, Strings&) { return e.Unit_ConversionOffset_Replace("ft", 2); }},
        {"UnitSystem_Remove", [](Engine& e, std::string&, Strings&) { return e.UnitSystem_Remove("English"); }},
    };
    for (const auto& [label, operation] : operations) {
        for (long n = 0;; ++n) {
            Loaded h;
            ASSERT_OK(h.e.Quantity_Synonym_Add("Length", "Distance"));
            const std::string before = dump(h.e);
            std::string out = kUntouched;
            Strings list{kUntouched};
            bool thrown = false;
            Result rc = S_OK;
            g_allocationsLeft = n;
            try {
                rc = operation(h.e, out, list);
            } catch (...) {
                thrown = true;
            }
            const bool failed = g_allocationsLeft.load() < 0;
            g_allocationsLeft = -1;
            ASSERT_FALSE(thrown) << label << ": allocation " << n;
            if (!failed) {
                EXPECT_OK(rc) << label;
                break;
            }
            EXPECT_RC(E_OUTOFMEMORY, rc) << label << ": allocation " << n;
            EXPECT_EQ(out, kUntouched) << label << ": allocation " << n;
            EXPECT_EQ(list, Strings{kUntouched}) << label << ": allocation " << n;
            EXPECT_EQ(dump(h.e), before) << label << ": allocation " << n;
            if (::testing::Test::HasFailure()) return;
        }
    }
    // Initialize of a loaded engine reads nothing; a fresh one stays uninitialized.
    for (long n = 0;; ++n) {
        Engine fresh;
        g_allocationsLeft = n;
        const Result rc = fresh.Initialize(database);
        const bool failed = g_allocationsLeft.load() < 0;
        g_allocationsLeft = -1;
        if (!failed) {
            EXPECT_OK(rc);
            break;
        }
        EXPECT_RC(E_OUTOFMEMORY, rc) << "allocation " << n;
        double add = 0, multiplyBy = 0;
        EXPECT_RC(E_NOT_INITIALIZED, fresh.UnitExpression_Convert("m", "m", add, multiplyBy)) << "allocation " << n;
        if (::testing::Test::HasFailure()) return;
    }
}

}  // namespace
}  // namespace kestrum::test
