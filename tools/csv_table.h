// The reference tables' CSV dialect: UTF-8, comma-separated, a header line, no quoting (no
// field holds a comma or a double quote), LF or CR LF line ends.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestrum::data {

struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    std::vector<int> lineNumbers;  // the file's line of each row, for messages
};

// Reads a table whose header must be exactly `expectedHeader`. Every row must have as many
// fields as the header; blank lines are skipped. On failure `error` names the file and line.
bool readCsvTable(const std::filesystem::path& file, const std::vector<std::string>& expectedHeader,
                  CsvTable& table, std::string& error);

std::vector<std::string> splitFields(const std::string& line, char separator);

}  // namespace kestrum::data
