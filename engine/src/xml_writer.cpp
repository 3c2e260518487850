// One line per item, CR LF line ends, tabs for indentation, display names in list order.
#include "xml_writer.h"

#include "evaluator.h"
#include "tables.h"
#include "number_format.h"

#include <array>
#include <utility>

namespace kestrum {

namespace {

constexpr std::array<const char*, kBaseDimensions> kDimensionNames = {"KG", "M", "S", "A", "K",
                                                                      "MOL", "CD", "RAD", "SR", "DOLLAR"};

using Attributes = std::vector<std::pair<const char*, std::string>>;

// Everything the edits accept reads back unchanged: markup characters are escaped, and tab,
// line feed and carriage return become references (a parser would normalise them away).
void appendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\t': out += "&#9;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            default: out += c;
        }
    }
}

class XmlText {
public:
    void line(int indent, std::string_view text) {
        m_out.append(static_cast<std::size_t>(indent), '\t');
        m_out += text;
        m_out += "\r\n";
    }
    void element(int indent, const char* name, const Attributes& attributes, bool empty) {
        m_out.append(static_cast<std::size_t>(indent), '\t');
        m_out += '<';
        m_out += name;
        for (const auto& [attribute, value] : attributes) {
            m_out += ' ';
            m_out += attribute;
            m_out += " = \"";
            appendEscaped(m_out, value);
            m_out += '"';
        }
        m_out += empty ? "/>\r\n" : ">\r\n";
    }
    void endTag(int indent, const char* name) {
        m_out.append(static_cast<std::size_t>(indent), '\t');
        m_out += "</";
        m_out += name;
        m_out += ">\r\n";
    }
    // An item with synonyms has them as SYNONYM lines; one without is an empty element.
    void item(const char* name, const Attributes& attributes, const std::vector<std::string>& synonyms) {
        element(2, name, attributes, synonyms.empty());
        if (synonyms.empty()) return;
        for (const auto& synonym : synonyms) {
            m_out += "\t\t\t<SYNONYM>";
            appendEscaped(m_out, synonym);
            m_out += "</SYNONYM>\r\n";
        }
        endTag(2, name);
    }
    std::string take() { return std::move(m_out); }

private:
    std::string m_out;
};

void writeQuantities(const Tables& db, Evaluator& evaluator, const std::vector<std::string>& quantities, XmlText& xml) {
    for (const auto& quantity : quantities) {
        std::vector<std::string> synonyms;
        if (db.Quantity_Synonym_Set(quantity, synonyms) != S_OK) continue;
        Attributes attributes{{"NAME", quantity}};
        std::string expression;
        DimVector vector;
        if (db.Quantity_Expression(quantity, expression) == S_OK && !expression.empty()) {
            attributes.emplace_back("EXPRESSION", expression);
        } else if (evaluator.Quantity_DimVector(quantity, vector) == S_OK) {
            for (int i = 0; i < kBaseDimensions; ++i)
                if (vector[i] != 0) attributes.emplace_back(kDimensionNames[i], std::to_string(vector[i]));
        }
        xml.item("QUANTITY", attributes, synonyms);
    }
}

void writeUnits(const Tables& db, Evaluator& evaluator, XmlText& xml) {
    std::vector<std::string> units;
    db.Unit_Set(units);
    for (const auto& unit : units) {
        std::vector<std::string> synonyms;
        if (db.Unit_Synonym_Set(unit, synonyms) != S_OK) continue;
        Attributes attributes{{"NAME", unit}};
        std::string quantity, expression, symbol;
        if (db.Unit_Quantity(unit, quantity) == S_OK && !quantity.empty()) attributes.emplace_back("QUANTITY", quantity);
        if (db.Unit_Expression(unit, expression) == S_OK && !expression.empty()) {
            attributes.emplace_back("EXPRESSION", expression);
        } else {
            double factor = UNDEFINED_VALUE, offset = UNDEFINED_VALUE;
            if (evaluator.Unit_ConversionFactor(unit, factor) != S_OK) factor = UNDEFINED_VALUE;
            if (evaluator.Unit_ConversionOffset(unit, offset) != S_OK) offset = UNDEFINED_VALUE;
            attributes.emplace_back("CONVERSION_FACTOR", formatDatabaseNumber(factor));
            if (offset != 0.0) attributes.emplace_back("CONVERSION_OFFSET", formatDatabaseNumber(offset));
        }
        if (db.Unit_Symbol(unit, symbol) == S_OK && !symbol.empty()) attributes.emplace_back("SYMBOL", symbol);
        xml.item("UNIT", attributes, synonyms);
    }
}

void writeUnitSystems(const Tables& db, const std::vector<std::string>& quantities, XmlText& xml) {
    std::vector<std::string> systems;
    db.UnitSystem_Set(systems);
    for (const auto& system : systems) {
        xml.element(2, "UNIT_SYSTEM", {{"NAME", system}}, false);
        for (const auto& quantity : quantities) {
            std::string preferred;
            if (db.UnitSystem_PrefUnit(system, quantity, preferred) != S_OK) continue;
            Attributes attributes{{"NAME", quantity}};
            if (!preferred.empty()) attributes.emplace_back("PREFERRED_UNIT", preferred);
            xml.element(3, "UNIT_SYSTEM_QTY", attributes, true);
        }
        xml.endTag(2, "UNIT_SYSTEM");
    }
}

}  // namespace

std::string writeDatabaseXml(const Tables& db, Evaluator& evaluator) {
    XmlText xml;
    std::vector<std::string> quantities;
    db.Quantity_Set(quantities);
    xml.line(0, "<?xml version=\"1.0\" standalone=\"yes\"?>");
    xml.line(0, "<UNITS_DATABASE>");
    xml.line(1, "<QUANTITIES>");
    writeQuantities(db, evaluator, quantities, xml);
    xml.line(1, "</QUANTITIES>");
    xml.line(1, "<UNITS>");
    writeUnits(db, evaluator, xml);
    xml.line(1, "</UNITS>");
    xml.line(1, "<UNIT_SYSTEMS>");
    writeUnitSystems(db, quantities, xml);
    xml.line(1, "</UNIT_SYSTEMS>");
    xml.line(0, "</UNITS_DATABASE>");
    return xml.take();
}

}  // namespace kestrum
