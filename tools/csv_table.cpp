#include "csv_table.h"

#include <fstream>

namespace kestrum::data {

std::vector<std::string> splitFields(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    while (true) {
        const auto end = line.find(separator, start);
        fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return fields;
        start = end + 1;
    }
}

namespace {

std::string join(const std::vector<std::string>& fields) {
    std::string text;
    for (const auto& f : fields) text += (text.empty() ? "" : ",") + f;
    return text;
}

}  // namespace

bool readCsvTable(const std::filesystem::path& file, const std::vector<std::string>& expectedHeader,
                  CsvTable& table, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = file.string() + ": cannot be opened";
        return false;
    }
    table = {};
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = file.string() + ":" + std::to_string(lineNumber) + ": ";
        if (lineNumber == 1) {
            table.header = splitFields(line, ',');
            if (table.header != expectedHeader) {
                error = where + "header is '" + line + "', expected '" + join(expectedHeader) + "'";
                return false;
            }
            continue;
        }
        if (line.empty()) continue;
        if (line.find('"') != std::string::npos) {
            error = where + "quoted fields are not part of this format";
            return false;
        }
        auto fields = splitFields(line, ',');
        if (fields.size() != table.header.size()) {
            error = where + std::to_string(fields.size()) + " fields, the header has " +
                    std::to_string(table.header.size());
            return false;
        }
        table.rows.push_back(std::move(fields));
        table.lineNumbers.push_back(lineNumber);
    }
    if (lineNumber == 0) {
        error = file.string() + ": empty file";
        return false;
    }
    return true;
}

}  // namespace kestrum::data
