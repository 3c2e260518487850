// The shipped file is a fixed point of the engine's writer and reader: reading it, writing it
// and reading that back loses no digit, name or definition.
#include "data_test_support.h"

namespace kestrum::datatest {
namespace {

using ShippedRoundTrip = ShippedDatabase;

TEST_F(ShippedRoundTrip, WriteAndReadBackGivesIdenticalDoubles) {
    TempDir dir;
    const auto copy = dir.path() / "copy.xml";
    ASSERT_EQ(engine.WriteUnitDatabase(copy.string()), S_OK);
    Engine reread;
    ASSERT_EQ(reread.ReadUnitDatabase(copy.string(), OVERWRITE), S_OK);
    for (const auto& difference : data::compareWithTables(reread, tables())) ADD_FAILURE() << difference;
    for (const auto& u : tables().units) {
        double before = 0, after = 0;
        ASSERT_EQ(engine.Unit_ConversionFactor(u.name, before), S_OK);
        ASSERT_EQ(reread.Unit_ConversionFactor(u.name, after), S_OK);
        EXPECT_EQ(ulpDistance(before, after), 0u) << u.name;
        ASSERT_EQ(engine.Unit_ConversionOffset(u.name, before), S_OK);
        ASSERT_EQ(reread.Unit_ConversionOffset(u.name, after), S_OK);
        EXPECT_EQ(ulpDistance(before, after), 0u) << u.name;
    }
}

TEST_F(ShippedRoundTrip, WritingTheLoadedFileReproducesItByteForByte) {
    TempDir dir;
    const auto copy = dir.path() / "copy.xml";
    ASSERT_EQ(engine.WriteUnitDatabase(copy.string()), S_OK);
    const std::string shipped = readFile(shippedDatabase());
    ASSERT_GT(shipped.size(), 100000u);
    EXPECT_TRUE(readFile(copy) == shipped) << "the committed file is not what the engine writes";
}

TEST(ShippedFile, HasCrLfLineEndsOnly) {
    const std::string text = readFile(shippedDatabase());
    ASSERT_FALSE(text.empty());
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') continue;
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare line feed at byte " << i;
        ++lines;
    }
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_GT(lines, 3000u);
}

}  // namespace
}  // namespace kestrum::datatest
