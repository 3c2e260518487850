// Files in 8-bit text: files written by older programs carry Windows-1252 bytes (a degree sign,
// a superscript two) with no encoding declared, or declare windows-1252. They load, and what
// they hold comes back as UTF-8; a UTF-8 file stays UTF-8.
#include "test_support.h"

namespace kestrum::test {
namespace {

// One unit whose name, symbol and synonym hold the given (encoded) texts.
std::string fileWith(std::string_view declaration, std::string_view name, std::string_view symbol,
                     std::string_view synonym) {
    return std::string(declaration) +
           "<UNITS_DATABASE><QUANTITIES><QUANTITY NAME=\"Temperature\" K=\"1\"/></QUANTITIES><UNITS>"
           "<UNIT NAME=\"" + std::string(name) + "\" QUANTITY=\"Temperature\" CONVERSION_FACTOR=\"1\" SYMBOL=\"" +
           std::string(symbol) + "\"><SYNONYM>" + std::string(synonym) +
           "</SYNONYM></UNIT></UNITS></UNITS_DATABASE>";
}

class Encodings : public ::testing::Test {
protected:
    // Reads content and gives back the only unit's name, symbol and synonym.
    void read(std::string_view content, std::string& name, std::string& symbol, std::string& synonym,
              std::size_t blockSize = 512) {
        writeFile(dir.file("db.xml"), content);
        Engine e;
        e.SetReadBlockSize(blockSize);
        ASSERT_OK(e.ReadUnitDatabase(dir.file("db.xml"), OVERWRITE));
        std::vector<std::string> list;
        ASSERT_OK(e.Unit_Set(list));
        ASSERT_EQ(list.size(), 1u);
        name = list[0];
        ASSERT_OK(e.Unit_Symbol(name, symbol));
        ASSERT_OK(e.Unit_Synonym_Set(name, list));
        ASSERT_EQ(list.size(), 1u);
        synonym = list[0];
    }
    TempDir dir;
};

TEST_F(Encodings, Windows1252FilesLoadDeclaredOrNot) {
    const char* declarations[] = {
        "",
        "<?xml version=\"1.0\" standalone=\"yes\"?>",
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>",
        "<?xml version=\"1.0\" encoding=\"WINDOWS-1252\" standalone=\"yes\"?>",
        "<?xml version='1.0' encoding='cp1252'?>",
    };
    for (const char* declaration : declarations) {
        for (std::size_t blockSize : {1, 512}) {
            std::string name, symbol, synonym;
            read(fileWith(declaration, "Degr\xE9", "\xB0" "C", "m\xB2\x80"), name, symbol, synonym, blockSize);
            EXPECT_EQ(name, "Degr\xC3\xA9") << declaration;
            EXPECT_EQ(symbol, "\xC2\xB0" "C") << declaration;
            EXPECT_EQ(synonym, "m\xC2\xB2\xE2\x82\xAC") << declaration;
        }
    }
}

TEST_F(Encodings, EveryWindows1252ByteHasItsCharacter) {
    struct Row {
        const char* byte;
        const char* utf8;
    };
    const Row rows[] = {
        {"\x80", "\xE2\x82\xAC"},  // euro sign
        {"\x8A", "\xC5\xA0"},      // S with caron
        {"\x99", "\xE2\x84\xA2"},  // trade mark sign
        {"\x9F", "\xC5\xB8"},      // Y with diaeresis
        {"\x81", "\xC2\x81"},      // the five unassigned bytes are the C1 controls of their value
        {"\x8D", "\xC2\x8D"},
        {"\x8F", "\xC2\x8F"},
        {"\x90", "\xC2\x90"},
        {"\x9D", "\xC2\x9D"},
        {"\xA0", "\xC2\xA0"},      // above 0x9F, the Latin-1 characters
        {"\xB2", "\xC2\xB2"},
        {"\xFF", "\xC3\xBF"},
    };
    for (const auto& row : rows) {
        std::string name, symbol, synonym;
        read(fileWith("", "u", std::string("a") + row.byte + "b", "s"), name, symbol, synonym);
        EXPECT_EQ(symbol, std::string("a") + row.utf8 + "b") << "byte " << std::hex
                                                             << (static_cast<unsigned>(*row.byte) & 0xFF);
    }
}

TEST_F(Encodings, UTF8FilesStayUTF8) {
    std::string name, symbol, synonym;
    read(fileWith("", "Degr\xC3\xA9", "\xC2\xB0" "C", "m\xC2\xB2"), name, symbol, synonym);
    EXPECT_EQ(name, "Degr\xC3\xA9");
    EXPECT_EQ(symbol, "\xC2\xB0" "C");
    EXPECT_EQ(synonym, "m\xC2\xB2");
    read(fileWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", "Degr\xE9", "\xB0" "C", "m\xB2"), name, symbol,
         synonym);
    EXPECT_EQ(symbol, "\xC2\xB0" "C");  // a declared encoding is honoured
}

TEST_F(Encodings, AnOldFileIsSavedAsUTF8AndReadsBackTheSame) {
    writeFile(dir.file("old.xml"), fileWith("", "Degr\xE9", "\xB0" "C", "m\xB2"));
    Engine e;
    ASSERT_OK(e.ReadUnitDatabase(dir.file("old.xml"), OVERWRITE));
    ASSERT_OK(e.WriteUnitDatabase(dir.file("new.xml")));
    const std::string saved = readFile(dir.file("new.xml"));
    EXPECT_NE(saved.find("SYMBOL = \"\xC2\xB0" "C\""), std::string::npos) << saved;
    Engine again;
    ASSERT_OK(again.ReadUnitDatabase(dir.file("new.xml"), OVERWRITE));
    EXPECT_EQ(dump(again), dump(e));
}

TEST_F(Encodings, UTF16FilesWithAByteOrderMarkLoad) {
    const std::string latin1 = fileWith("", "Degr\xE9", "\xB0" "C", "m\xB2");
    std::string utf16 = "\xFF\xFE";  // little-endian; every Latin-1 byte is its own code point
    for (char c : latin1) {
        utf16 += c;
        utf16 += '\0';
    }
    std::string name, symbol, synonym;
    read(utf16, name, symbol, synonym);
    EXPECT_EQ(name, "Degr\xC3\xA9");
    EXPECT_EQ(symbol, "\xC2\xB0" "C");
    EXPECT_EQ(synonym, "m\xC2\xB2");
}

}  // namespace
}  // namespace kestrum::test
