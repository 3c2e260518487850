#include "cli.h"

#include "compatible.h"
#include "edit_script.h"
#include "explain.h"
#include "help_text.h"
#include "numbers.h"
#include "output.h"

#include <kestrum/engine.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <istream>
#include <ostream>
#include <sstream>

namespace kestrum::cli {

namespace {

struct Options {
    std::string db;
    bool dimensionalAnalysis = true;
    int digits = kDefaultDigits;
    std::vector<std::string> words;  // the command and its arguments
};

bool looksLikeNumber(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' && (std::isdigit(static_cast<unsigned char>(arg[1])) || arg[1] == '.');
}

// Codes that are about one of a conversion's expressions rather than about the pair.
bool concernsOneExpression(Result rc) {
    return rc == E_UNIT_NOT_FOUND || rc == E_INVALID_EXPRESSION || rc == E_QUANTITY_NOT_FOUND || rc == E_UDB_CORRUPT;
}

class Session {
public:
    Session(const Environment& env, Engine& engine, std::istream& in, std::ostream& out, std::ostream& err)
        : m_env(env), m_in(in), m_out(out), m_err(err), m_engine(engine) {}

    int usage(const std::string& problem) {
        m_err << "kestrum: " << problem << "\n" << usageText() << "Try 'kestrum --help' for more.\n";
        return kExitUsage;
    }
    int failure(const std::string& message) {
        m_err << "kestrum: " << message << "\n";
        return kExitFailure;
    }

    int execute(const Options& options) {
        m_options = options;
        const auto& w = options.words;
        const std::string& command = w[0];
        const std::size_t argc = w.size() - 1;
        // --batch belongs right after factor, alone; anywhere else it would be read as an
        // expression.
        const auto batch = std::find(w.begin(), w.end(), "--batch");
        if (batch != w.end() && !(command == "factor" && argc == 1 && batch == w.begin() + 1))
            return usage("--batch goes right after factor, with nothing else: kestrum factor --batch");
        if (command == "edit") return edit();

        static constexpr Command kCommands[] = {
            {"convert", [](const Words&, std::size_t n) { return n == 3; }, "convert needs VALUE FROM TO", true,
             [](Session& s, const Words& w, double v) { return s.convert(v, w[1], w[2], w[3]); }},
            {"factor", [](const Words& w, std::size_t n) { return n == 2 || (n == 1 && w[1] == "--batch"); },
             "factor needs FROM TO, or --batch", false,
             [](Session& s, const Words& w, double) { return w.size() == 2 ? s.factorBatch() : s.factor(w[1], w[2]); }},
            {"symbol", [](const Words&, std::size_t n) { return n == 1; }, "symbol needs one unit expression", false,
             [](Session& s, const Words& w, double) { return s.symbol(w[1]); }},
            {"compatible", [](const Words&, std::size_t n) { return n == 1; }, "compatible needs one unit expression",
             false, [](Session& s, const Words& w, double) { return s.compatible(w[1]); }},
            {"qconvert", [](const Words&, std::size_t n) { return n == 4; }, "qconvert needs VALUE SYSFROM SYSTO QEXPR",
             true, [](Session& s, const Words& w, double v) { return s.qconvert(v, w[1], w[2], w[3], w[4]); }},
            {"qfactor", [](const Words&, std::size_t n) { return n == 3; }, "qfactor needs SYSFROM SYSTO QEXPR", false,
             [](Session& s, const Words& w, double) { return s.qfactor(w[1], w[2], w[3]); }},
            {"qsymbol", [](const Words&, std::size_t n) { return n == 2; }, "qsymbol needs SYS QEXPR", false,
             [](Session& s, const Words& w, double) { return s.qsymbol(w[1], w[2]); }},
            {"list", [](const Words& w, std::size_t n) { return n == 1 || (n == 2 && w[1] == "units"); },
             "list needs quantities, units, systems or 'units QUANTITY'", false,
             [](Session& s, const Words& w, double) { return s.list(w); }},
        };
        const Command* found = nullptr;
        for (const Command& c : kCommands)
            if (command == c.name) found = &c;
        if (found == nullptr) return usage("unknown command '" + command + "'");
        if (!found->fits(w, argc)) return usage(found->needs);

        double value = 0;
        if (found->readsValue && !parseValue(w[1], value)) return usage("not a number: '" + w[1] + "'");
        if (const int rc = load(); rc != kExitOk) return rc;
        return found->run(*this, w, value);
    }

private:
    using Words = std::vector<std::string>;

    // Every command but edit: its name, the arguments it takes (and the usage problem when
    // they are not those), whether its first argument is a value, and what it does.
    struct Command {
        std::string_view name;
        bool (*fits)(const Words& w, std::size_t argc);
        const char* needs;
        bool readsValue;
        int (*run)(Session& s, const Words& w, double value);
    };

    std::string databasePath() const {
        if (!m_options.db.empty()) return m_options.db;
        if (!m_env.databaseFromEnvironment.empty()) return m_env.databaseFromEnvironment;
        return m_env.shippedDatabase;
    }

    int load() {
        const std::string path = databasePath();
        if (path.empty()) return failure("no Unit Database: give --db FILE or set KESTRUM_DB");
        if (const Result rc = m_engine.Initialize(path); rc != S_OK) return failure(path + ": " + ErrorMessage(rc));
        m_engine.EnableDimensionalAnalysis(m_options.dimensionalAnalysis);
        return kExitOk;
    }

    // The quantities with the dimensions of an expression, for messages: "Length", or "Energy,
    // Torque"; empty when none has them.
    std::string quantitiesOf(const std::string& expression) {
        std::vector<QuantityUnits> groups;
        if (unitsLike(m_engine, expression, m_options.dimensionalAnalysis, groups) != S_OK) return {};
        std::string names;
        for (const auto& group : groups) names += (names.empty() ? "" : ", ") + group.quantity;
        return names;
    }

    // Why a conversion between two unit expressions was refused, naming what it is about.
    std::string conversionProblem(Result rc, const std::string& from, const std::string& to) {
        if (concernsOneExpression(rc)) {
            double add = 0, multiplyBy = 0;
            const Result fromAlone = m_engine.UnitExpression_Convert(from, from, add, multiplyBy);
            const bool fromFails = fromAlone != S_OK && fromAlone != E_DIVIDE_BY_ZERO;
            return explainExpression(m_engine, rc, fromFails ? from : to, NameKind::Unit);
        }
        if (rc == E_DIMENSIONS_DIFFER) {
            auto described = [this](const std::string& expression) {
                const std::string quantities = quantitiesOf(expression);
                return shown(expression) + (quantities.empty() ? "" : " (" + quantities + ")");
            };
            return described(from) + " to " + described(to) + ": " + ErrorMessage(rc) +
                   "; --ignore-dimensions converts anyway";
        }
        return shown(from) + " to " + shown(to) + ": " + ErrorMessage(rc);
    }

    std::string quantityProblem(Result rc, const std::string& systemFrom, const std::string& systemTo,
                                const std::string& expression) {
        if (rc == E_UNIT_SYSTEM_NOT_FOUND) {
            auto known = [&](const std::string& name) {
                std::string preferred;
                return m_engine.UnitSystem_PrefUnit(name, "", preferred) != E_UNIT_SYSTEM_NOT_FOUND;
            };
            const std::string& unknown = known(systemFrom) ? systemTo : systemFrom;
            return explainName(m_engine, rc, unknown, NameKind::UnitSystem);
        }
        if (rc == E_QUANTITY_NOT_FOUND || rc == E_INVALID_EXPRESSION)
            return explainExpression(m_engine, rc, expression, NameKind::Quantity);
        return shown(expression) + ": " + ErrorMessage(rc);
    }

    int printResult(const std::string& valueText, double value, double multiplyBy, double add,
                    const std::string& what) {
        std::string text;
        if (!formatResult(value, multiplyBy, add, m_options.digits, text))
            return failure(valueText + " " + what + ": the result is beyond the range of a double");
        m_out << text << "\n";
        return kExitOk;
    }

    int convert(double value, const std::string& valueText, const std::string& from, const std::string& to) {
        double add = 0, multiplyBy = 0;
        if (const Result rc = m_engine.UnitExpression_Convert(from, to, add, multiplyBy); rc != S_OK)
            return failure(conversionProblem(rc, from, to));
        return printResult(valueText, value, multiplyBy, add, shown(from) + " in " + shown(to));
    }

    int factor(const std::string& from, const std::string& to) {
        double add = 0, multiplyBy = 0;
        if (const Result rc = m_engine.UnitExpression_Convert(from, to, add, multiplyBy); rc != S_OK)
            return failure(conversionProblem(rc, from, to));
        m_out << formatExact(multiplyBy) << " " << formatExact(add) << "\n";
        return kExitOk;
    }

    int factorBatch() {
        bool anyFailed = false;
        std::string line;
        // Once the output fails there is no one to answer: stop reading.
        while (m_out && std::getline(m_in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::istringstream words(line);
            std::string from, to, extra;
            if (!(words >> from)) continue;  // blank line
            if (!(words >> to) || (words >> extra)) {
                m_out << "error: expected FROM TO\n";
                anyFailed = true;
                continue;
            }
            double add = 0, multiplyBy = 0;
            if (const Result rc = m_engine.UnitExpression_Convert(from, to, add, multiplyBy); rc != S_OK) {
                m_out << "error: " << conversionProblem(rc, from, to) << "\n";
                anyFailed = true;
            } else {
                m_out << formatExact(multiplyBy) << " " << formatExact(add) << "\n";
            }
        }
        return anyFailed ? kExitFailure : kExitOk;
    }

    int symbol(const std::string& expression) {
        std::string text;
        if (const Result rc = m_engine.UnitExpression_Symbol(expression, text); rc != S_OK) {
            // The symbol operation reports an unknown unit as an invalid expression; the
            // conversion's answer says which name it is.
            double add = 0, multiplyBy = 0;
            const Result evaluated = m_engine.UnitExpression_Convert(expression, expression, add, multiplyBy);
            return failure(explainExpression(m_engine, evaluated == E_UNIT_NOT_FOUND ? evaluated : rc, expression,
                                             NameKind::Unit));
        }
        m_out << text << "\n";
        return kExitOk;
    }

    int compatible(const std::string& expression) {
        std::vector<QuantityUnits> groups;
        if (const Result rc = unitsLike(m_engine, expression, m_options.dimensionalAnalysis, groups); rc != S_OK)
            return failure(explainExpression(m_engine, rc, expression, NameKind::Unit));
        if (groups.empty()) return failure(shown(expression) + ": no unit in the database has these dimensions");
        for (const auto& group : groups) {
            m_out << group.quantity << ":\n";
            for (const auto& unit : group.units) {
                std::string symbol;
                m_engine.Unit_Symbol(unit, symbol);
                m_out << "  " << unit;
                if (!symbol.empty() && symbol != unit) m_out << " (" << symbol << ")";
                m_out << "\n";
            }
        }
        return kExitOk;
    }

    int qconvert(double value, const std::string& valueText, const std::string& from, const std::string& to,
                 const std::string& expression) {
        double add = 0, multiplyBy = 0;
        if (const Result rc = m_engine.QuantityExpression_Convert(from, to, expression, add, multiplyBy); rc != S_OK)
            return failure(quantityProblem(rc, from, to, expression));
        return printResult(valueText, value, multiplyBy, add, shown(expression) + " from " + from + " to " + to);
    }

    int qfactor(const std::string& from, const std::string& to, const std::string& expression) {
        double add = 0, multiplyBy = 0;
        if (const Result rc = m_engine.QuantityExpression_Convert(from, to, expression, add, multiplyBy); rc != S_OK)
            return failure(quantityProblem(rc, from, to, expression));
        m_out << formatExact(multiplyBy) << " " << formatExact(add) << "\n";
        return kExitOk;
    }

    int qsymbol(const std::string& system, const std::string& expression) {
        std::string text;
        if (const Result rc = m_engine.QuantityExpression_Symbol(system, expression, text); rc != S_OK)
            return failure(quantityProblem(rc, system, system, expression));
        m_out << text << "\n";
        return kExitOk;
    }

    int list(const std::vector<std::string>& w) {
        std::vector<std::string> names;
        Result rc = S_OK;
        if (w.size() == 3) {
            if (rc = m_engine.Quantity_Unit_Set(w[2], names); rc != S_OK)
                return failure(explainName(m_engine, rc, w[2], NameKind::Quantity));
        } else if (w[1] == "quantities") {
            rc = m_engine.Quantity_Set(names);
        } else if (w[1] == "units") {
            rc = m_engine.Unit_Set(names);
        } else if (w[1] == "systems") {
            rc = m_engine.UnitSystem_Set(names);
        } else {
            return usage("list needs quantities, units, systems or 'units QUANTITY'");
        }
        if (rc != S_OK) return failure(ErrorMessage(rc));
        for (const auto& name : names) m_out << name << "\n";
        return kExitOk;
    }

    int edit() {
        const auto& words = m_options.words;
        if (m_options.db.empty()) return usage("edit needs --db FILE: it saves the database back to that file");
        if (words.size() < 2) return usage("edit needs at least one 'OPERATION ARG...'");
        if (const int rc = load(); rc != kExitOk) return rc;
        for (std::size_t i = 1; i < words.size(); ++i) {
            Result rc = S_OK;
            std::string message;
            switch (runEdit(m_engine, words[i], rc, message)) {
                case EditOutcome::Done: break;
                case EditOutcome::BadCommand: return usage(message + " (in '" + words[i] + "')");
                case EditOutcome::EngineFailed:
                    return failure(ErrorMessage(rc) + " (in '" + words[i] + "'; nothing saved)");
            }
        }
        if (const Result rc = m_engine.WriteUnitDatabase(m_options.db); rc != S_OK)
            return failure(m_options.db + ": " + ErrorMessage(rc));
        return kExitOk;
    }

    const Environment& m_env;
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    Engine& m_engine;
    Options m_options;
};

bool parseDigits(const std::string& text, int& digits) {
    int n = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || n < 1 || n > kMaxDigits) return false;
    digits = n;
    return true;
}

int runCommandLine(const std::vector<std::string>& args, Session& session, std::ostream& out) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-' && !looksLikeNumber(arg);
        auto valueOf = [&](const std::string& name, std::string& value) {
            if (arg == name) {
                if (i + 1 == args.size()) return false;
                value = args[++i];
            } else {
                value = arg.substr(name.size() + 1);
            }
            return !value.empty();
        };
        if (!isOption || arg == "--batch") {
            options.words.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            out << helpText();
            return kExitOk;
        } else if (arg == "--version") {
            out << versionText() << "\n";
            return kExitOk;
        } else if (arg == "--dimensions") {
            options.dimensionalAnalysis = true;
        } else if (arg == "--ignore-dimensions") {
            options.dimensionalAnalysis = false;
        } else if (arg == "--digits" || arg.starts_with("--digits=")) {
            std::string value;
            if (!valueOf("--digits", value) || !parseDigits(value, options.digits))
                return session.usage("--digits needs a number of significant digits from 1 to 17");
        } else if (arg == "--db" || arg.starts_with("--db=")) {
            if (!valueOf("--db", options.db)) return session.usage("--db needs a FILE");
        } else {
            return session.usage("unknown option '" + arg + "'");
        }
    }
    if (options.words.empty()) return session.usage("no command given");
    if (options.words.front() == "--batch") return session.usage("--batch goes right after factor: kestrum factor --batch");
    return session.execute(options);
}

}  // namespace

int run(const std::vector<std::string>& args, const Environment& env, Engine& engine, std::istream& in,
        std::ostream& out, std::ostream& err) {
    Session session(env, engine, in, out, err);
    const int rc = runCommandLine(args, session, out);
    // Output that never arrived is a failure whatever the command did: a full disk or a closed
    // pipe must not pass for success.
    out.flush();
    if (!out) {
        std::string reason;
        if (const auto* fd = dynamic_cast<const FdOutput*>(out.rdbuf()); fd && fd->error() != 0)
            reason = std::string(": ") + std::strerror(fd->error());
        err << "kestrum: cannot write the output" << reason << "\n";
        return kExitFailure;
    }
    return rc;
}

}  // namespace kestrum::cli
