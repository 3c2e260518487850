// The small Unit Databases the tests and fuzz targets build on, kept as files in
// tests/data/databases so that every fixture reads the same bytes and none holds a copy.
#pragma once

#include <string>
#include <string_view>

namespace kestrum::test {

// The bytes of tests/data/databases/<fileName>. A database that cannot be read is a broken
// checkout: it ends the process with a message rather than letting tests run on nothing.
std::string testDatabase(std::string_view fileName);

// Writes that database to path; false when path cannot be written.
bool writeTestDatabase(std::string_view fileName, const std::string& path);

}  // namespace kestrum::test
