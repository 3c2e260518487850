// Files the parser refuses: each file of the corpus holds one defect, described in its first
// comment. Every one is reported as corrupt, and none changes the database.
#include "test_support.h"

#include <algorithm>
#include <filesystem>

namespace kestrum::test {
namespace {

std::vector<std::string> corruptCorpus() {
    std::vector<std::string> files;
    const std::filesystem::path folder = std::filesystem::path(KESTRUM_SOURCE_DIR) / "tests/engine/data/corrupt";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.path().extension() == ".xml") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(CorruptFiles, EveryFileOfTheCorpusIsCorruptAndChangesNothing) {
    const auto files = corruptCorpus();
    ASSERT_GE(files.size(), 10u) << "corpus missing: the loop below would pass without checking anything";
    for (const auto& file : files) {
        EXPECT_NE(readFile(file).find("<!-- Defect: "), std::string::npos) << file << " does not say what is wrong";
        for (int flag : {OVERWRITE, APPEND}) {
            for (std::size_t blockSize : {1, 512}) {
                Engine e;
                buildSmallDatabase(e);
                e.SetReadBlockSize(blockSize);
                const std::string before = dump(e);
                EXPECT_RC(E_UDB_CORRUPT, e.ReadUnitDatabase(file, flag)) << file;
                EXPECT_EQ(dump(e), before) << file;
            }
        }
    }
}

TEST(CorruptFiles, AnEmptyFileIsCorrupt) {
    TempDir dir;
    writeFile(dir.file("empty.xml"), "");
    Engine e;
    EXPECT_RC(E_UDB_CORRUPT, e.ReadUnitDatabase(dir.file("empty.xml"), OVERWRITE));
    EXPECT_RC(E_UDB_CORRUPT, e.Initialize(dir.file("empty.xml")));
    double add = 0, multiplyBy = 0;
    EXPECT_RC(E_NOT_INITIALIZED, e.UnitExpression_Convert("", "", add, multiplyBy));
}

}  // namespace
}  // namespace kestrum::test
