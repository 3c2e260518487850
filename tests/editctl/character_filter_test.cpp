#include "character_filter.h"

#include <gtest/gtest.h>

using namespace kestrum::editctl;

TEST(AllowChar, TakesWhatCanFormANumberWhereItCanStand) {
    struct Row {
        char32_t c;
        int position;
        bool hasPoint;
        bool allowed;
        const char* label;
    } rows[] = {
        {U'0', 0, false, true, "digit"},
        {U'9', 5, true, true, "digit anywhere"},
        {U'.', 3, false, true, "first point"},
        {U'.', 3, true, false, "second point"},
        {U'.', 0, true, true, "point at the start, even with one"},
        {U'-', 0, false, true, "minus at the start"},
        {U'-', 1, false, false, "minus inside"},
        {U'a', 0, false, false, "letter"},
        {U'e', 1, false, false, "exponent letter"},
        {U'E', 1, false, false, "exponent letter"},
        {U'+', 0, false, false, "plus"},
        {U',', 1, false, false, "comma"},
        {U' ', 1, false, false, "space"},
        {U'~', 1, false, false, "last printable code"},
        {U'!', 1, false, false, "first printable code after space"},
        {U'\b', 2, false, true, "backspace"},
        {U'\t', 2, false, true, "tab"},
        {U'\n', 2, false, true, "line feed"},
        {0x7F, 2, false, true, "delete is not printable"},
        {0xE9, 2, false, true, "codes from 128 up are not printable"},
        {0xFF, 2, false, true, "code 255"},
        {0x20AC, 2, false, true, "euro sign"},
    };
    for (const Row& row : rows) EXPECT_EQ(allowChar(row.c, row.position, row.hasPoint), row.allowed) << row.label;
}

TEST(AllowPaste, ChecksEachCharacterWhereItWouldLand) {
    struct Row {
        const char* pasted;
        const char* current;
        int start, end;
        bool allowed;
        const char* label;
    } rows[] = {
        {"12.5", "3.4", 1, 2, true, "the selection holds the only point"},
        {"12.5", "3.4", 0, 1, false, "the point stays"},
        {"12.5", "3.4", 2, 3, false, "the point stays, selection after it"},
        {"1.2.3", "", 0, 0, true, "the point flag does not advance"},
        {"12a", "", 0, 0, false, "a letter"},
        {"-5", "", 0, 0, true, "minus where it lands at 0"},
        {"-5", "4", 1, 1, false, "minus inside"},
        {"5-", "", 0, 0, false, "minus lands at 1"},
        {"1\t2\n", "", 0, 0, true, "tabs and line breaks are not printable"},
        {"\xc3\xa9", "", 0, 0, true, "codes above 127 pass"},
        {"", "12", 0, 2, true, "nothing pasted"},
        {" 5", "", 0, 0, false, "a space"},
    };
    for (const Row& row : rows) {
        const QString pasted = QString::fromUtf8(row.pasted);
        const QString current = QString::fromUtf8(row.current);
        EXPECT_EQ(allowPaste(pasted, current, row.start, row.end, current.contains(u'.')), row.allowed) << row.label;
    }
}

TEST(AllowPaste, PastedTextEndsAtItsFirstZero) {
    EXPECT_EQ(pasteText(QStringLiteral("12")), QStringLiteral("12"));
    EXPECT_EQ(pasteText(QString::fromUtf16(u"5\0abc", 5)), QStringLiteral("5"));
    EXPECT_EQ(pasteText(QString::fromUtf16(u"\0abc", 4)), QString());
}

TEST(AllowPaste, RefusalMessageQuotesThePastedText) {
    EXPECT_EQ(pasteRefusedMessage(QStringLiteral("12a")),
              QStringLiteral("Cannot paste the following value into the dimsafe edit control\n\"12a\"\n"
                             "Only numeric values can be pasted"));
    EXPECT_STREQ(kPasteIgnoredCaption, "Paste Command Ignored");
}
