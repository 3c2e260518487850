// Narrow and wide text, and the version text of a module.
#include <comrt/comrt.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextConversion, RoundTripsEveryPlaneThroughUtf8) {
    const std::u16string wide = u"km/h °C Ω \U0001D11E";
    const std::string narrow = comrt::ToUtf8(wide);
    EXPECT_EQ(narrow, "km/h \xC2\xB0" "C \xCE\xA9 \xF0\x9D\x84\x9E");
    EXPECT_EQ(comrt::ToUtf16(narrow), wide);
}

TEST(TextConversion, BrokenInputBecomesReplacementCharacters) {
    const char16_t lone[] = {u'a', 0xDC00, u'b', 0xD800, 0};
    EXPECT_EQ(comrt::ToUtf8(lone), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    EXPECT_EQ(comrt::ToUtf16("a\xC0\xAF" "b\xE2\x82"), u"a\uFFFD\uFFFDb\uFFFD\uFFFD") << "overlong and cut sequences";
    EXPECT_EQ(comrt::ToUtf8(static_cast<const OLECHAR*>(nullptr)), "");
}

TEST(TextConversion, PlatformCallsCountWriteAndRefuseSmallBuffers) {
    OLECHAR wide[8] = {};
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC2\xB0" "C", -1, nullptr, 0), 3) << "two characters and the zero";
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xC2\xB0" "C", -1, wide, 2), 0) << "too small: nothing written";
    EXPECT_EQ(wide[0], 0);
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xC2\xB0" "C", -1, wide, 8), 3);
    EXPECT_EQ(std::u16string(wide), u"°C");
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", 1, wide, 8), 1) << "an explicit length has no terminator";
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", -1, wide, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "a", -1, wide, 8), 0) << "no other code page";

    char narrow[8] = {};
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"°C", -1, nullptr, 0, nullptr, nullptr), 4);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"°C", -1, narrow, 3, nullptr, nullptr), 0);
    ASSERT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"°C", -1, narrow, 8, nullptr, nullptr), 4);
    EXPECT_STREQ(narrow, "\xC2\xB0" "C");
}

// File names are bytes: every one survives the trip through wide text, valid UTF-8 or not.
TEST(FileNameText, AnyBytesGoToWideTextAndBackUnchanged) {
    for (const std::string& path : {std::string("/opt/caf\xE9/lib.so"), std::string("/\xFF\xFE/\xC0\xAF"),
                                   std::string("/ok/\xC2\xB0" "C/\xE2\x82"), std::string("/plain/ascii"),
                                   std::string("/emoji/\xF0\x9D\x84\x9E")}) {
        const std::u16string wide = comrt::PathToWide(path);
        EXPECT_EQ(comrt::WideToPath(wide.c_str()), path);
    }
    EXPECT_EQ(comrt::PathToWide("caf\xE9"), std::u16string(u"caf") + char16_t{0xDCE9});
    EXPECT_EQ(comrt::PathToWide("\xC2\xB0"), u"°") << "valid UTF-8 is read as such";
    EXPECT_EQ(comrt::WideToPath(u"\U0001D11E"), "\xF0\x9D\x84\x9E") << "a pair is a character, not escaped bytes";
    const char16_t other[] = {u'a', 0xDC10, 0};
    EXPECT_EQ(comrt::WideToPath(other), "a\xEF\xBF\xBD") << "a lone surrogate that stands for no byte";
    EXPECT_EQ(comrt::WideToPath(nullptr), "");
}

TEST(TextConversion, Utf8BecomesACountedString) {
    BSTR s = comrt::Utf8ToBstr("\xC2\xB5m");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 2u);
    EXPECT_EQ(std::u16string(s), u"µm");
    SysFreeString(s);
}

TEST(ModuleVersionText, PutsTheBuildRightAfterTheMinorVersion) {
    EXPECT_EQ(comrt::FormatModuleVersion({1, 0, 1, 0}), "1.01");
    EXPECT_EQ(comrt::FormatModuleVersion({2, 3, 0, 0}), "2.30");
    EXPECT_EQ(comrt::FormatModuleVersion({1, 2, 3, 4}), "1.23.4");
}

TEST(ResultText, NamesKnownCodesAndFormatsAnyCode) {
    EXPECT_EQ(comrt::ResultText(E_FAIL), "Unspecified error");
    EXPECT_EQ(comrt::ResultText(REGDB_E_CLASSNOTREG), "Class not registered");
    EXPECT_EQ(comrt::ResultText(static_cast<HRESULT>(0x8004020A)), "Unknown error");
    EXPECT_EQ(comrt::ResultHex(E_FAIL), "0x80004005");
    EXPECT_EQ(comrt::ResultHex(S_FALSE), "0x00000001");
}

}  // namespace
