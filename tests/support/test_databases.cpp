#include "test_databases.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace kestrum::test {

std::string testDatabase(std::string_view fileName) {
    const std::string path = std::string(KESTRUM_TEST_DATABASES) + "/" + std::string(fileName);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read the test database %s\n", path.c_str());
        std::abort();
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeTestDatabase(std::string_view fileName, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << testDatabase(fileName);
    return static_cast<bool>(out.flush());
}

}  // namespace kestrum::test
