#include "cli.h"

#include "compatible.h"
#include "edit_script.h"
#include "explain.h"
#include "numbers.h"
#include "output.h"

#include <kestrum/engine.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <istream>
#include <ostream>
#include <sstream>

namespace kestrum::cli {

const std::vector<Example>& helpExamples() {
    static const std::vector<Example> examples = {
        {"kestrum convert 100 degC degF", "212"},
        {"kestrum convert -40 degC degF", "-40"},
        {"kestrum convert 32 degF degC", "0"},
        {"kestrum convert 55 mi/h km/h", "88.51392"},
        {"kestrum convert 1 'L/100km' 'L/km'", "0.01"},
        {"kestrum convert 1 'kg*m^-3' 'lb/ft^3'", "0.0624279605761446"},
        {"kestrum --digits 4 convert 1 btu/h W", "0.2931"},
        {"kestrum factor km/h m/s", "0.2777777777777778 0"},
        {"kestrum symbol 'kg*m/s^2'", "kg.m/s\xC2\xB2"},
        {"kestrum qconvert 1 SI English Force/Area", "0.0208854342331501"},
        {"kestrum convert 1 m s", "kestrum: m (Length) to s (Time): Dimensional Analysis of the Two Units is "
                                  "Different; --ignore-dimensions converts anyway"},
        {"kestrum --ignore-dimensions convert 1 m s", "1"},
        {"kestrum convert 1 furlongz m", "kestrum: furlongz: Unit Not Found; did you mean furlong?"},
        {"kestrum convert 1 mW W", "kestrum: mW: Unit Not Found; did you mean milliwatt (mW) or megawatt (MW)?"},
        {"kestrum compatible 'N*m' | head -3", "Energy:\n  barrel_of_oil_equivalent (BOE)\n  btu (Btu)"},
        {"printf 'km m\\nmi ft\\n' | kestrum factor --batch", "1000 0\n5280 0"},
    };
    return examples;
}

namespace {

constexpr const char* kVersion = "1.01";

std::string usageText() {
    return "usage: kestrum [--db FILE] [--ignore-dimensions] [--digits N] COMMAND [ARG...]\n"
           "       kestrum --help | --version\n";
}

std::string helpText() {
    std::string examples;
    for (const auto& example : helpExamples()) {
        examples += std::string("  $ ") + example.commandLine + "\n";
        std::istringstream lines(example.prints);
        for (std::string line; std::getline(lines, line);) examples += "  " + line + "\n";
    }
    return usageText() +
           "\n"
           "Converts values between units with the Kestrum engine and its Unit Database.\n"
           "\n"
           "Options:\n"
           "  --db FILE            the Unit Database to use (default: $KESTRUM_DB, else the\n"
           "                       shipped Unit_Database.xml)\n"
           "  --ignore-dimensions  convert between expressions of different dimensions (by\n"
           "                       default such a conversion is refused; --dimensions, which\n"
           "                       asked for that, is still accepted)\n"
           "  --digits N           at most N significant digits in converted values (1 to 17,\n"
           "                       default 15); never more than the result's own accuracy\n"
           "  --                   ends the options (a negative VALUE is read as a value anyway)\n"
           "\n"
           "Commands:\n"
           "  convert VALUE FROM TO            VALUE in unit expression FROM, expressed in TO\n"
           "  factor FROM TO                   the multiplier and the add term (v*M + A), exact\n"
           "  factor --batch                   FROM TO pairs from standard input, one per line\n"
           "  symbol EXPR                      the symbol of a unit expression\n"
           "  compatible EXPR                  every unit with the dimensions of EXPR, by quantity\n"
           "  qconvert VALUE SYSFROM SYSTO QEXPR\n"
           "                                   VALUE of quantity expression QEXPR from one unit\n"
           "                                   system's preferred units into another's\n"
           "  qfactor SYSFROM SYSTO QEXPR      the multiplier and add term of that conversion\n"
           "  qsymbol SYS QEXPR                the symbol of QEXPR in unit system SYS\n"
           "  list quantities|units|systems    the names in the database\n"
           "  list units QUANTITY              the units of one quantity\n"
           "  edit 'OPERATION ARG...' ...      edits the --db FILE (required) and saves it; the\n"
           "                                   file is left untouched if any operation fails\n"
           "\n"
           "Unit expressions combine unit names, numbers, '*', '/', parentheses and '^' (m^2,\n"
           "m^-3, 10^3). A number written against a name multiplies it: L/100km is litres per\n"
           "hundred kilometres. Operators apply left to right. Names are case-insensitive and\n"
           "hold no spaces; where two units' symbols differ only in case (mW, MW) the full\n"
           "names are needed.\n"
           "\n"
           "Edit operations (each one shell argument; words split on single spaces, the last\n"
           "argument takes the rest of the text):\n" +
           editOperationList() +
           "\n"
           "Examples, with what they print on the shipped database:\n" +
           examples +
           "\n"
           "Exit status: 0 success; 1 the engine refused, the result is out of range, or the\n"
           "output could not be written (the reason is printed); 2 usage error.\n";
}

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

        if (command == "convert" && argc != 3) return usage("convert needs VALUE FROM TO");
        if (command == "factor" && !(argc == 2 || argc == 1)) return usage("factor needs FROM TO, or --batch");
        if (command == "factor" && argc == 1 && w[1] != "--batch") return usage("factor needs FROM TO, or --batch");
        if (command == "symbol" && argc != 1) return usage("symbol needs one unit expression");
        if (command == "compatible" && argc != 1) return usage("compatible needs one unit expression");
        if (command == "qconvert" && argc != 4) return usage("qconvert needs VALUE SYSFROM SYSTO QEXPR");
        if (command == "qfactor" && argc != 3) return usage("qfactor needs SYSFROM SYSTO QEXPR");
        if (command == "qsymbol" && argc != 2) return usage("qsymbol needs SYS QEXPR");
        if (command == "list" && !(argc == 1 || (argc == 2 && w[1] == "units")))
            return usage("list needs quantities, units, systems or 'units QUANTITY'");
        static const char* kCommands[] = {"convert", "factor",  "symbol",  "compatible", "qconvert",
                                          "qfactor", "qsymbol", "list"};
        if (std::find(std::begin(kCommands), std::end(kCommands), command) == std::end(kCommands))
            return usage("unknown command '" + command + "'");

        double value = 0;
        if ((command == "convert" || command == "qconvert") && !parseValue(w[1], value))
            return usage("not a number: '" + w[1] + "'");
        if (const int rc = load(); rc != kExitOk) return rc;

        if (command == "convert") return convert(value, w[1], w[2], w[3]);
        if (command == "factor") return argc == 1 ? factorBatch() : factor(w[1], w[2]);
        if (command == "symbol") return symbol(w[1]);
        if (command == "compatible") return compatible(w[1]);
        if (command == "qconvert") return qconvert(value, w[1], w[2], w[3], w[4]);
        if (command == "qfactor") return qfactor(w[1], w[2], w[3]);
        if (command == "qsymbol") return qsymbol(w[1], w[2]);
        return list(w);
    }

private:
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
            out << kVersion << "\n";
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

std::string findShippedDatabase(const std::string& exePath) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(exePath).parent_path();
    for (const fs::path& candidate : {dir / "Unit_Database.xml", dir / ".." / "share" / "kestrum" / "Unit_Database.xml"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return fs::weakly_canonical(candidate, ec).string();
    }
    return {};
}

}  // namespace kestrum::cli
