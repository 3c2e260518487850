#include "reference_tables.h"

#include "csv_table.h"

#include <charconv>
#include <cmath>

namespace kestrum::data {

bool parseExactNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (*begin == '+') return false;
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    return ec == std::errc() && ptr == end && std::isfinite(value);
}

std::string exactText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

const QuantityRow* ReferenceTables::findQuantity(const std::string& name) const {
    for (const auto& q : quantities)
        if (q.name == name) return &q;
    return nullptr;
}

const UnitRow* ReferenceTables::findUnit(const std::string& name) const {
    for (const auto& u : units)
        if (u.name == name) return &u;
    return nullptr;
}

std::string ReferenceTables::siUnit(const std::string& quantity) const {
    for (const auto& row : preferredUnits)
        if (row.quantity == quantity) return row.units.empty() ? std::string() : row.units.front();
    return {};
}

namespace {

std::string where(const std::filesystem::path& file, const CsvTable& table, std::size_t row) {
    return file.filename().string() + ":" + std::to_string(table.lineNumbers[row]) + ": ";
}

bool readQuantities(const std::filesystem::path& dir, ReferenceTables& tables, std::string& error) {
    const auto file = dir / "quantities.csv";
    CsvTable table;
    if (!readCsvTable(file, {"name", "KG", "M", "S", "A", "K", "MOL", "CD", "RAD", "SR", "DOLLAR", "note"}, table,
                      error))
        return false;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& fields = table.rows[r];
        QuantityRow row{fields[0], {}};
        for (int i = 0; i < kBaseDimensions; ++i) {
            const std::string& text = fields[static_cast<std::size_t>(i) + 1];
            int exponent = 0;
            const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), exponent);
            if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() || exponent < -99 ||
                exponent > 99) {
                error = where(file, table, r) + "exponent '" + text + "' is not a small integer";
                return false;
            }
            row.vector[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(exponent);
        }
        tables.quantities.push_back(std::move(row));
    }
    return true;
}

bool readUnits(const std::filesystem::path& dir, ReferenceTables& tables, std::string& error) {
    const auto file = dir / "units.csv";
    CsvTable table;
    if (!readCsvTable(file, {"name", "symbol", "quantity", "factor", "offset", "exact", "source", "synonyms"}, table,
                      error))
        return false;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& fields = table.rows[r];
        UnitRow row{fields[0], fields[1], fields[2], 0, 0, {}};
        if (!parseExactNumber(fields[3], row.factor) || row.factor <= 0) {
            error = where(file, table, r) + "factor '" + fields[3] + "' is not a positive number";
            return false;
        }
        if (!parseExactNumber(fields[4], row.offset)) {
            error = where(file, table, r) + "offset '" + fields[4] + "' is not a number";
            return false;
        }
        if (!fields[7].empty()) row.synonyms = splitFields(fields[7], ';');
        tables.units.push_back(std::move(row));
    }
    return true;
}

bool readUnitSystems(const std::filesystem::path& dir, ReferenceTables& tables, std::string& error) {
    const auto file = dir / "unit_systems.csv";
    CsvTable table;
    const std::vector<std::string> header{"quantity", "SI", "English", "Imperial", "CGS", "Oilfield"};
    if (!readCsvTable(file, header, table, error)) return false;
    tables.systems.assign(header.begin() + 1, header.end());
    for (const auto& fields : table.rows)
        tables.preferredUnits.push_back({fields[0], std::vector<std::string>(fields.begin() + 1, fields.end())});
    return true;
}

bool readDefinitions(const std::filesystem::path& dir, ReferenceTables& tables, std::string& error) {
    const auto file = dir / "definitions.csv";
    CsvTable table;
    if (!readCsvTable(file, {"kind", "name", "expression"}, table, error)) return false;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const auto& fields = table.rows[r];
        const bool isQuantity = fields[0] == "quantity";
        if (!isQuantity && fields[0] != "unit") {
            error = where(file, table, r) + "kind '" + fields[0] + "' is neither quantity nor unit";
            return false;
        }
        if (isQuantity ? !tables.findQuantity(fields[1]) : !tables.findUnit(fields[1])) {
            error = where(file, table, r) + fields[0] + " '" + fields[1] + "' is not in the tables";
            return false;
        }
        if (fields[2].empty()) {
            error = where(file, table, r) + "empty expression";
            return false;
        }
        auto& definitions = isQuantity ? tables.quantityDefinitions : tables.unitDefinitions;
        if (!definitions.emplace(fields[1], fields[2]).second) {
            error = where(file, table, r) + fields[1] + " is defined twice";
            return false;
        }
    }
    return true;
}

}  // namespace

bool loadReferenceTables(const std::filesystem::path& dir, ReferenceTables& tables, std::string& error) {
    tables = {};
    return readQuantities(dir, tables, error) && readUnits(dir, tables, error) && readUnitSystems(dir, tables, error) &&
           readDefinitions(dir, tables, error);
}

}  // namespace kestrum::data
