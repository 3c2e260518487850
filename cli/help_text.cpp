// What --help and --version print, and the usage lines a usage error ends with.
#include "help_text.h"

#include "cli.h"
#include "edit_script.h"

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

std::string versionText() { return KESTRUM_CLI_VERSION; }

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

}  // namespace kestrum::cli
