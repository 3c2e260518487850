#include "cli.h"

#include "edit_script.h"
#include "numbers.h"

#include <kestrum/engine.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <istream>
#include <ostream>
#include <sstream>

namespace kestrum::cli {

namespace {

constexpr const char* kVersion = "1.01";

std::string usageText() {
    return "usage: kestrum [--db FILE] [--dimensions] COMMAND [ARG...]\n"
           "       kestrum --help | --version\n";
}

std::string helpText() {
    return usageText() +
           "\n"
           "Converts values between units with the Kestrum engine and its Unit Database.\n"
           "\n"
           "Options:\n"
           "  --db FILE      the Unit Database to use (default: $KESTRUM_DB, else the shipped\n"
           "                 Unit_Database.xml)\n"
           "  --dimensions   refuse conversions between expressions of different dimensions\n"
           "  --             ends the options (a negative VALUE is read as a value anyway)\n"
           "\n"
           "Commands:\n"
           "  convert VALUE FROM TO            VALUE in unit expression FROM, expressed in TO\n"
           "  factor FROM TO                   the multiplier and the add term: v*M + A\n"
           "  factor --batch                   FROM TO pairs from standard input, one per line\n"
           "  symbol EXPR                      the symbol of a unit expression\n"
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
           "Unit expressions combine unit names, numbers, '*', '/', parentheses and '^' with a\n"
           "one-digit exponent (write larger or negative exponents in parentheses: (m^-2)).\n"
           "Names are case-insensitive; write no spaces. Operators apply left to right.\n"
           "\n"
           "Edit operations (each one shell argument; words split on single spaces, the last\n"
           "argument takes the rest of the text):\n" +
           editOperationList() +
           "\n"
           "Examples:\n"
           "  kestrum convert 100 degC degF            212\n"
           "  kestrum convert -40 degC degF            -40\n"
           "  kestrum factor km/h m/s                  0.2777777777777778 0\n"
           "  kestrum convert 1 'btu/h' W\n"
           "  kestrum symbol 'kg*m/s^2'                kg.m/s²\n"
           "  kestrum qconvert 1 SI English 'Force/Area'\n"
           "  kestrum list units Length\n"
           "  printf 'km m\\nmi ft\\n' | kestrum factor --batch\n"
           "  kestrum --db my.xml edit 'Unit_Add furlong Length' 'Unit_ConversionFactor_Replace furlong 201.168'\n"
           "\n"
           "Exit status: 0 success, 1 the engine refused (its message is printed), 2 usage error.\n";
}

struct Options {
    std::string db;
    bool dimensions = false;
    std::vector<std::string> words;  // the command and its arguments
};

bool looksLikeNumber(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' && (std::isdigit(static_cast<unsigned char>(arg[1])) || arg[1] == '.');
}

class Session {
public:
    Session(const Environment& env, Engine& engine, std::istream& in, std::ostream& out, std::ostream& err)
        : m_env(env), m_in(in), m_out(out), m_err(err), m_engine(engine) {}

    int usage(const std::string& problem) {
        m_err << "kestrum: " << problem << "\n" << usageText() << "Try 'kestrum --help' for more.\n";
        return kExitUsage;
    }
    int failure(Result rc, const std::string& context = {}) {
        m_err << "kestrum: " << ErrorMessage(rc);
        if (!context.empty()) m_err << " (" << context << ")";
        m_err << "\n";
        return kExitFailure;
    }

    int execute(const Options& options) {
        const auto& w = options.words;
        const std::string& command = w[0];
        const std::size_t argc = w.size() - 1;
        if (command == "edit") return edit(options);

        if (command == "convert" && argc != 3) return usage("convert needs VALUE FROM TO");
        if (command == "factor" && !(argc == 2 || (argc == 1 && w[1] == "--batch")))
            return usage("factor needs FROM TO, or --batch");
        if (command == "symbol" && argc != 1) return usage("symbol needs one unit expression");
        if (command == "qconvert" && argc != 4) return usage("qconvert needs VALUE SYSFROM SYSTO QEXPR");
        if (command == "qfactor" && argc != 3) return usage("qfactor needs SYSFROM SYSTO QEXPR");
        if (command == "qsymbol" && argc != 2) return usage("qsymbol needs SYS QEXPR");
        if (command == "list" && !(argc == 1 || (argc == 2 && w[1] == "units")))
            return usage("list needs quantities, units, systems or 'units QUANTITY'");
        static const char* kCommands[] = {"convert", "factor", "symbol", "qconvert", "qfactor", "qsymbol", "list"};
        if (std::find(std::begin(kCommands), std::end(kCommands), command) == std::end(kCommands))
            return usage("unknown command '" + command + "'");

        double value = 0;
        if ((command == "convert" || command == "qconvert") && !parseValue(w[1], value))
            return usage("not a number: '" + w[1] + "'");
        if (const int rc = load(options); rc != kExitOk) return rc;

        if (command == "convert") return convert(value, w[2], w[3]);
        if (command == "factor") return argc == 1 ? factorBatch() : factor(w[1], w[2]);
        if (command == "symbol") return symbol(w[1]);
        if (command == "qconvert") return qconvert(value, w[2], w[3], w[4]);
        if (command == "qfactor") return qfactor(w[1], w[2], w[3]);
        if (command == "qsymbol") return qsymbol(w[1], w[2]);
        return list(w);
    }

private:
    std::string databasePath(const Options& options) const {
        if (!options.db.empty()) return options.db;
        if (!m_env.databaseFromEnvironment.empty()) return m_env.databaseFromEnvironment;
        return m_env.shippedDatabase;
    }

    int load(const Options& options) {
        const std::string path = databasePath(options);
        if (path.empty()) {
            m_err << "kestrum: no Unit Database: give --db FILE or set KESTRUM_DB\n";
            return kExitFailure;
        }
        if (const Result rc = m_engine.Initialize(path); rc != S_OK) return failure(rc, path);
        if (options.dimensions) m_engine.EnableDimensionalAnalysis(true);
        return kExitOk;
    }

    int convert(double value, const std::string& from, const std::string& to) {
        double add = 0, multiplyBy = 0;
        if (const Result rc = m_engine.UnitExpression_Convert(from, to, add, multiplyBy); rc != S_OK) return failure(rc);
        m_out << formatValue(value * multiplyBy + add) << "\n";
        return kExitOk;
    }

    int factor(const std::string& from, const std::string& to) {
        double add = 0, multiplyBy = 0;
        if (const Result rc = m_engine.UnitExpression_Convert(from, to, add, multiplyBy); rc != S_OK) return failure(rc);
        m_out << formatExact(multiplyBy) << " " << formatExact(add) << "\n";
        return kExitOk;
    }

    int factorBatch() {
        bool anyFailed = false;
        std::string line;
        while (std::getline(m_in, line)) {
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
                m_out << "error: " << ErrorMessage(rc) << "\n";
                anyFailed = true;
            } else {
                m_out << formatExact(multiplyBy) << " " << formatExact(add) << "\n";
            }
        }
        return anyFailed ? kExitFailure : kExitOk;
    }

    int symbol(const std::string& expression) {
        std::string text;
        if (const Result rc = m_engine.UnitExpression_Symbol(expression, text); rc != S_OK) return failure(rc);
        m_out << text << "\n";
        return kExitOk;
    }

    int qconvert(double value, const std::string& from, const std::string& to, const std::string& expression) {
        double add = 0, multiplyBy = 0;
        if (const Result rc = m_engine.QuantityExpression_Convert(from, to, expression, add, multiplyBy); rc != S_OK)
            return failure(rc);
        m_out << formatValue(value * multiplyBy + add) << "\n";
        return kExitOk;
    }

    int qfactor(const std::string& from, const std::string& to, const std::string& expression) {
        double add = 0, multiplyBy = 0;
        if (const Result rc = m_engine.QuantityExpression_Convert(from, to, expression, add, multiplyBy); rc != S_OK)
            return failure(rc);
        m_out << formatExact(multiplyBy) << " " << formatExact(add) << "\n";
        return kExitOk;
    }

    int qsymbol(const std::string& system, const std::string& expression) {
        std::string text;
        if (const Result rc = m_engine.QuantityExpression_Symbol(system, expression, text); rc != S_OK)
            return failure(rc);
        m_out << text << "\n";
        return kExitOk;
    }

    int list(const std::vector<std::string>& w) {
        std::vector<std::string> names;
        Result rc = S_OK;
        if (w.size() == 3) {
            rc = m_engine.Quantity_Unit_Set(w[2], names);
        } else if (w[1] == "quantities") {
            rc = m_engine.Quantity_Set(names);
        } else if (w[1] == "units") {
            rc = m_engine.Unit_Set(names);
        } else if (w[1] == "systems") {
            rc = m_engine.UnitSystem_Set(names);
        } else {
            return usage("list needs quantities, units, systems or 'units QUANTITY'");
        }
        if (rc != S_OK) return failure(rc);
        for (const auto& name : names) m_out << name << "\n";
        return kExitOk;
    }

    int edit(const Options& options) {
        if (options.db.empty()) return usage("edit needs --db FILE: it saves the database back to that file");
        if (options.words.size() < 2) return usage("edit needs at least one 'OPERATION ARG...'");
        if (const int rc = load(options); rc != kExitOk) return rc;
        for (std::size_t i = 1; i < options.words.size(); ++i) {
            Result rc = S_OK;
            std::string message;
            switch (runEdit(m_engine, options.words[i], rc, message)) {
                case EditOutcome::Done: break;
                case EditOutcome::BadCommand: return usage(message + " (in '" + options.words[i] + "')");
                case EditOutcome::EngineFailed: return failure(rc, "in '" + options.words[i] + "'; nothing saved");
            }
        }
        if (const Result rc = m_engine.WriteUnitDatabase(options.db); rc != S_OK) return failure(rc, options.db);
        return kExitOk;
    }

    const Environment& m_env;
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    Engine& m_engine;
};

}  // namespace

int run(const std::vector<std::string>& args, const Environment& env, Engine& engine, std::istream& in,
        std::ostream& out, std::ostream& err) {
    Session session(env, engine, in, out, err);
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-' && !looksLikeNumber(arg);
        if (!isOption || (!options.words.empty() && arg == "--batch")) {
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
            options.dimensions = true;
        } else if (arg == "--db" || arg.starts_with("--db=")) {
            if (arg == "--db" && i + 1 == args.size()) return session.usage("--db needs a FILE");
            options.db = arg == "--db" ? args[++i] : arg.substr(5);
            if (options.db.empty()) return session.usage("--db needs a FILE");
        } else {
            return session.usage("unknown option '" + arg + "'");
        }
    }
    if (options.words.empty()) return session.usage("no command given");
    return session.execute(options);
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
