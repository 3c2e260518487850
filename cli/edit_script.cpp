#include "edit_script.h"

#include "numbers.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace kestrum::cli {

namespace {

using Args = std::vector<std::string>;

struct Operation {
    const char* name;
    const char* arguments;  // for messages and help
    int arity;              // number of arguments; the last takes the rest of the text
    std::function<Result(Engine&, const Args&, std::string&)> call;
};
using Call = decltype(Operation::call);

// A message left by an argument check makes the command a bad one, whatever the code says.
bool realArgument(const std::string& text, double& value, std::string& message) {
    if (parseValue(text, value)) return true;
    message = "not a number: '" + text + "'";
    return false;
}

// Calls of an operation on its arguments as given (names and texts)...
using Text = std::string_view;
Call names(Result (Engine::*operation)(Text)) {
    return [operation](Engine& e, const Args& a, std::string&) { return (e.*operation)(a[0]); };
}
Call names(Result (Engine::*operation)(Text, Text)) {
    return [operation](Engine& e, const Args& a, std::string&) { return (e.*operation)(a[0], a[1]); };
}
Call names(Result (Engine::*operation)(Text, Text, Text)) {
    return [operation](Engine& e, const Args& a, std::string&) { return (e.*operation)(a[0], a[1], a[2]); };
}

// ... and with a number last, which must read as one.
Call nameAndNumber(Result (Engine::*operation)(std::string_view, double)) {
    return [operation](Engine& e, const Args& a, std::string& message) {
        double v = 0;
        return realArgument(a[1], v, message) ? (e.*operation)(a[0], v) : E_INVALID_EXPRESSION;
    };
}

const std::vector<Operation>& operations() {
    static const std::vector<Operation> ops = {
        {"Quantity_Add", "QUANTITY", 1, names(&Engine::Quantity_Add)},
        {"Quantity_Remove", "QUANTITY", 1, names(&Engine::Quantity_Remove)},
        {"Quantity_Rename", "CURRENT NEW", 2, names(&Engine::Quantity_Rename)},
        {"Quantity_Synonym_Add", "QUANTITY SYNONYM", 2, names(&Engine::Quantity_Synonym_Add)},
        {"Quantity_Synonym_Remove", "QUANTITY SYNONYM", 2, names(&Engine::Quantity_Synonym_Remove)},
        {"Quantity_DimVector_Replace", "QUANTITY E1 [E2 ... E10]", -1, nullptr},
        {"Quantity_Expression_Replace", "QUANTITY EXPRESSION", 2, names(&Engine::Quantity_Expression_Replace)},
        {"Unit_Add", "UNIT QUANTITY", 2, names(&Engine::Unit_Add)},
        {"Unit_Remove", "UNIT", 1, names(&Engine::Unit_Remove)},
        {"Unit_Rename", "CURRENT NEW", 2, names(&Engine::Unit_Rename)},
        {"Unit_Synonym_Add", "UNIT SYNONYM", 2, names(&Engine::Unit_Synonym_Add)},
        {"Unit_Synonym_Remove", "UNIT SYNONYM", 2, names(&Engine::Unit_Synonym_Remove)},
        {"Unit_Quantity_Replace", "UNIT QUANTITY", 2, names(&Engine::Unit_Quantity_Replace)},
        {"Unit_ConversionFactor_Replace", "UNIT FACTOR", 2, nameAndNumber(&Engine::Unit_ConversionFactor_Replace)},
        {"Unit_ConversionOffset_Replace", "UNIT OFFSET", 2, nameAndNumber(&Engine::Unit_ConversionOffset_Replace)},
        {"Unit_Expression_Replace", "UNIT EXPRESSION", 2, names(&Engine::Unit_Expression_Replace)},
        {"Unit_Symbol_Replace", "UNIT SYMBOL", 2, names(&Engine::Unit_Symbol_Replace)},
        {"UnitSystem_Add", "SYSTEM", 1, names(&Engine::UnitSystem_Add)},
        {"UnitSystem_Remove", "SYSTEM", 1, names(&Engine::UnitSystem_Remove)},
        {"UnitSystem_Rename", "CURRENT NEW", 2, names(&Engine::UnitSystem_Rename)},
        {"UnitSystem_PrefUnit_Replace", "SYSTEM QUANTITY UNIT", 3, names(&Engine::UnitSystem_PrefUnit_Replace)},
    };
    return ops;
}

// Splits the text after the operation name into exactly arity arguments.
bool splitArguments(std::string_view text, int arity, Args& args) {
    args.clear();
    for (int i = 0; i < arity - 1; ++i) {
        const std::size_t space = text.find(' ');
        if (space == std::string_view::npos) return false;
        args.emplace_back(text.substr(0, space));
        text.remove_prefix(space + 1);
    }
    args.emplace_back(text);
    return true;
}

Result replaceDimVector(Engine& engine, std::string_view rest, std::string& message) {
    Args words;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t space = std::min(rest.find(' ', start), rest.size());
        words.emplace_back(rest.substr(start, space - start));
        start = space + 1;
    }
    if (words.size() < 2 || words.size() > 11) {
        message = "Quantity_DimVector_Replace takes a quantity and one to ten integers";
        return E_INVALID_EXPRESSION;
    }
    std::vector<std::int16_t> vector;
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::int16_t exponent = 0;
        if (!parseExponent(words[i], exponent)) {
            message = "not an exponent (an integer from -32768 to 32767): '" + words[i] + "'";
            return E_INVALID_EXPRESSION;
        }
        vector.push_back(exponent);
    }
    return engine.Quantity_DimVector_Replace(words[0], vector);
}

}  // namespace

EditOutcome runEdit(Engine& engine, std::string_view command, Result& rc, std::string& message) {
    const std::size_t space = command.find(' ');
    const std::string_view name = command.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view() : command.substr(space + 1);
    for (const auto& op : operations()) {
        if (name != op.name) continue;
        if (space == std::string_view::npos) {
            message = std::string(name) + " needs " + op.arguments;
            return EditOutcome::BadCommand;
        }
        message.clear();
        if (op.arity < 0) {
            rc = replaceDimVector(engine, rest, message);
        } else {
            Args args;
            if (!splitArguments(rest, op.arity, args)) {
                message = std::string(name) + " needs " + op.arguments;
                return EditOutcome::BadCommand;
            }
            rc = op.call(engine, args, message);
        }
        if (!message.empty()) return EditOutcome::BadCommand;
        return rc == S_OK ? EditOutcome::Done : EditOutcome::EngineFailed;
    }
    message = "unknown edit operation '" + std::string(name) + "'";
    return EditOutcome::BadCommand;
}

std::string editOperationList() {
    std::string text;
    for (const auto& op : operations()) text += std::string("    ") + op.name + " " + op.arguments + "\n";
    return text;
}

}  // namespace kestrum::cli
