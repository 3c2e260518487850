// Thousands of random edits, interleaved with conversions, writes and reads back, from a seed.
// After every step the database's invariants hold; a successful edit did what it says and a
// failed one changed nothing; a written file reads back to the same database (except units
// left behind by a removed quantity, and expressions a rename made longer than 500
// characters, which a file cannot give back); merging a database's own file into it changes
// nothing; and a failed read leaves it as it was.
//
// A failure prints its seed and step. Reproduce it with
//   KESTRUM_CONSISTENCY_SEED=<seed> KESTRUM_CONSISTENCY_STEPS=<steps> tests/consistency_test
#include "fuzz_support.h"
#include "random_edits.h"
#include "text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

namespace kestrum::fuzz {
namespace {

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    std::uint64_t value = fallback;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

// What a file cannot give back, taken out of both snapshots before they are compared: units
// whose quantity is gone (and every mention of them), and expressions longer than 500
// characters, with every value worked out from an expression (which may depend on them).
struct Unreadable {
    explicit Unreadable(const Snapshot& s) {
        for (const auto& u : s.units) {
            if (std::none_of(s.quantities.begin(), s.quantities.end(),
                             [&](const QuantityState& q) { return q.name == u.quantity; }))
                leftBehind.insert(u.name);
            if (utf16Length(u.expression) > kMaxExpressionLength) tooLong.insert(u.name);
        }
        for (const auto& q : s.quantities)
            if (utf16Length(q.expression) > kMaxExpressionLength) tooLong.insert(q.name);
    }

    Snapshot without(const Snapshot& s) const {
        Snapshot out;
        auto gone = [&](const std::string& unit) { return leftBehind.count(unit) != 0; };
        for (auto q : s.quantities) {
            std::erase_if(q.units, gone);
            if (tooLong.count(q.name)) q.expression.clear();
            if (!tooLong.empty() && (tooLong.count(q.name) || !q.expression.empty())) q.dims.clear();
            out.quantities.push_back(std::move(q));
        }
        for (auto u : s.units) {
            if (gone(u.name)) continue;
            if (tooLong.count(u.name)) u.expression.clear();
            if (!tooLong.empty() && (tooLong.count(u.name) || !u.expression.empty())) u.factor = u.offset = 0;
            out.units.push_back(std::move(u));
        }
        for (auto system : s.systems) {
            for (auto& entry : system.preferred)
                if (gone(entry.second)) entry.second.clear();
            out.systems.push_back(std::move(system));
        }
        return out;
    }

    std::set<std::string> leftBehind;
    std::set<std::string> tooLong;
};

class ConsistencyRun {
public:
    explicit ConsistencyRun(std::uint64_t seed) : m_random(seed), m_maker(m_random, m_strays) {
        writeBytes(m_dir.file("empty.xml"), "<UNITS_DATABASE/>");
        m_engine = std::make_unique<Engine>();
        EXPECT_EQ(m_engine->Initialize(m_dir.file("empty.xml")), S_OK);
        m_current = snapshot("start");
    }

    // One step; false once a check failed (the failure is reported by then).
    bool step() {
        const std::size_t roll = m_random.below(100);
        if (roll < 3) return roundTrip();
        if (roll < 4) return mergeOwnFile();
        if (roll < 5) return failedReads();
        if (roll < 10) return convert();
        return edit();
    }

    std::string summary() const {
        return std::to_string(m_edits) + " edits (" + std::to_string(m_succeeded) + " succeeded), " +
               std::to_string(m_roundTrips) + " round trips (" + std::to_string(m_withLeftBehind) +
               " with units left behind, " + std::to_string(m_withTooLong) +
               " with over-long expressions); at the end " + std::to_string(m_current.quantities.size()) +
               " quantities, " + std::to_string(m_current.units.size()) + " units, " +
               std::to_string(m_current.systems.size()) + " unit systems";
    }

private:
    Snapshot snapshot(const char* when) {
        Snapshot s;
        const std::string error = takeSnapshot(*m_engine, s);
        EXPECT_EQ(error, "") << when;
        return s;
    }

    bool invariantsHold(const Snapshot& s, const std::string& after) {
        InvariantOptions options;
        options.removedQuantityKeys = &m_removed;
        options.expressionsMayBeLong = true;  // whether they may is checked per edit
        const std::string broken = invariantViolation(*m_engine, s, options);
        EXPECT_EQ(broken, "") << "after " << after;
        return broken.empty();
    }

    static std::size_t longExpressions(const Snapshot& s) {
        std::size_t n = 0;
        for (const auto& q : s.quantities) n += utf16Length(q.expression) > kMaxExpressionLength;
        for (const auto& u : s.units) n += utf16Length(u.expression) > kMaxExpressionLength;
        return n;
    }

    // What the invariants and E_INTERNAL depend on: which quantities were removed, and which
    // units they left behind that no quantity lists.
    void remember(const Edit& made, const Snapshot& before, const Snapshot& after) {
        auto gone = [](const auto& items, const std::string& name) {
            return std::none_of(items.begin(), items.end(),
                                [&](const auto& item) { return foldCase(item.name) == foldCase(name); });
        };
        if (made.description.starts_with("Quantity_Remove(")) {
            for (const auto& q : before.quantities) {
                if (!gone(after.quantities, q.name)) continue;
                m_removed.insert(foldCase(q.name));
                for (const auto& unit : q.units) m_strays.insert(foldCase(unit));
            }
        }
        for (const auto& u : before.units)
            if (gone(after.units, u.name)) m_strays.erase(foldCase(u.name));
        if (!made.relinkedUnit.empty()) m_strays.erase(foldCase(made.relinkedUnit));
    }

    bool edit() {
        const Snapshot& before = m_current;
        Edit made = m_maker.make(*m_engine, before);
        ++m_edits;
        m_succeeded += made.rc == S_OK;
        Snapshot after = snapshot(made.description.c_str());
        if (made.rc == S_OK) remember(made, before, after);
        if (!invariantsHold(after, made.description)) return false;
        if (made.rc == S_OK) {
            const std::string wrong = made.verify(*m_engine, before, after);
            EXPECT_EQ(wrong, "") << made.description;
            if (!wrong.empty()) return false;
        } else {
            EXPECT_TRUE(made.rc != E_INTERNAL || made.internalAllowed) << made.description << " gave E_INTERNAL";
            const std::string changed = difference(before, after);
            EXPECT_EQ(changed, "") << made.description << " failed with " << codeText(made.rc) << " yet changed:\n";
            if (!changed.empty() || (made.rc == E_INTERNAL && !made.internalAllowed)) return false;
        }
        EXPECT_TRUE(made.rename || longExpressions(after) <= longExpressions(before))
            << made.description << " stored an expression of more than 500 characters";
        m_current = std::move(after);
        return !::testing::Test::HasFailure();
    }

    // Conversions and symbols only complete deferred values: nothing a query shows changes.
    bool convert() {
        Engine& e = *m_engine;
        double add = 0, multiplyBy = 0;
        std::string symbol;
        const bool checked = m_random.chance(50);
        e.EnableDimensionalAnalysis(checked);
        const std::string from = m_maker.unitExpression(m_current, "x"), to = m_maker.unitExpression(m_current, "y");
        e.UnitExpression_Convert(from, to, add, multiplyBy);
        e.UnitExpression_Symbol(from, symbol);
        const std::string quantity = m_maker.quantityExpression(m_current, "z");
        const std::string system = m_maker.existingSystem(m_current);
        e.QuantityExpression_Convert(system, m_maker.existingSystem(m_current), quantity, add, multiplyBy);
        e.QuantityExpression_Symbol(system, quantity, symbol);
        e.EnableDimensionalAnalysis(false);
        const std::string changed = difference(m_current, snapshot("conversions"));
        EXPECT_EQ(changed, "") << "converting " << from << " to " << to << " and " << quantity << " changed:\n";
        return changed.empty();
    }

    bool roundTrip() {
        const std::string path = m_dir.file("db.xml");
        auto back = std::make_unique<Engine>();
        const std::string error = writeAndReadBack(*m_engine, path, *back);
        EXPECT_EQ(error, "");
        if (!error.empty()) return false;
        const Unreadable unreadable(m_current);
        Snapshot read;
        EXPECT_EQ(takeSnapshot(*back, read), "");
        const std::string changed = difference(unreadable.without(m_current), unreadable.without(read));
        EXPECT_EQ(changed, "") << "written and read back, the database changed:\n" << readBytes(path);
        if (!changed.empty()) return false;
        ++m_roundTrips;
        m_withLeftBehind += !unreadable.leftBehind.empty();
        m_withTooLong += !unreadable.tooLong.empty();
        // Go on with the database as read back, now and then.
        if (m_random.chance(30)) {
            m_engine = std::move(back);
            m_strays.clear();  // a file gives every unit it can read back to its quantity's list
            m_current = std::move(read);
            return invariantsHold(m_current, "reading the database back");
        }
        return true;
    }

    bool mergeOwnFile() {
        const std::string path = m_dir.file("own.xml");
        EXPECT_EQ(m_engine->WriteUnitDatabase(path), S_OK);
        EXPECT_EQ(m_engine->ReadUnitDatabase(path, APPEND), S_OK);
        const std::string changed = difference(m_current, snapshot("merging its own file"));
        EXPECT_EQ(changed, "") << "merging its own file changed the database:\n";
        return changed.empty() && !::testing::Test::HasFailure();
    }

    bool failedReads() {
        const std::string path = m_dir.file("cut.xml");
        EXPECT_EQ(m_engine->WriteUnitDatabase(path), S_OK);
        const std::string whole = readBytes(path);
        // Cut anywhere before the root element's end tag is complete.
        writeBytes(path, whole.substr(0, m_random.below(whole.size() - std::strlen("</UNITS_DATABASE>\r\n"))));
        EXPECT_EQ(m_engine->ReadUnitDatabase(path, m_random.chance(50) ? OVERWRITE : APPEND), E_UDB_CORRUPT);
        EXPECT_EQ(m_engine->ReadUnitDatabase(m_dir.file("missing.xml"), OVERWRITE), E_UDB_FILE_NOT_FOUND);
        const std::string changed = difference(m_current, snapshot("failed reads"));
        EXPECT_EQ(changed, "") << "a failed read changed the database:\n";
        return changed.empty() && !::testing::Test::HasFailure();
    }

    ScratchDir m_dir;
    Random m_random;
    std::set<std::string> m_removed;  // lower-case keys of every quantity removed so far
    std::set<std::string> m_strays;   // lower-case names of units left behind and not listed since
    EditMaker m_maker;
    std::unique_ptr<Engine> m_engine;
    Snapshot m_current;
    std::size_t m_edits = 0, m_succeeded = 0, m_roundTrips = 0, m_withLeftBehind = 0, m_withTooLong = 0;
};

TEST(Consistency, RandomEditsWritesAndReadsKeepTheDatabaseConsistent) {
    const std::uint64_t firstSeed = fromEnvironment("KESTRUM_CONSISTENCY_SEED", 20240611);
    const std::uint64_t seeds = std::getenv("KESTRUM_CONSISTENCY_SEED") ? 1 : 4;
    const std::uint64_t steps = fromEnvironment("KESTRUM_CONSISTENCY_STEPS", 1200);
    for (std::uint64_t seed = firstSeed; seed < firstSeed + seeds; ++seed) {
        ConsistencyRun run(seed);
        for (std::uint64_t step = 1; step <= steps; ++step) {
            if (!run.step()) {
                FAIL() << "seed " << seed << ", step " << step << " (KESTRUM_CONSISTENCY_SEED=" << seed
                       << " KESTRUM_CONSISTENCY_STEPS=" << step << ")";
            }
        }
        std::printf("seed %llu: %s\n", static_cast<unsigned long long>(seed), run.summary().c_str());
    }
}

}  // namespace
}  // namespace kestrum::fuzz
