#include "engine_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace kestrum::editctl;

namespace {
std::u16string wide(BSTR text) { return std::u16string(text); }
}  // namespace

TEST(EngineText, PassesUpTo259CharactersAndRefusesMore) {
    EngineText fits(QString(259, u'a'));
    ASSERT_TRUE(fits.fits());
    EXPECT_EQ(wide(fits.get()), std::u16string(259, u'a'));

    EXPECT_FALSE(EngineText(QString(260, u'a')).fits());
    EXPECT_FALSE(EngineText(QString(5000, u'a')).fits());
    EngineText empty{QString()};
    EXPECT_TRUE(empty.fits());
    EXPECT_EQ(wide(empty.get()), u"");
}

TEST(EngineText, CountsWideCharactersNotBytes) {
    // 258 + one accented letter: 259 wide characters (260 bytes in UTF-8) still fit.
    EngineText accented(QString(258, u'a') + QChar(0xE9));
    ASSERT_TRUE(accented.fits());
    EXPECT_EQ(wide(accented.get()).back(), u'\u00e9');
    // 258 + a character outside the basic plane: two wide characters, 260 in all.
    EXPECT_FALSE(EngineText(QString(258, u'a') + QString::fromUtf16(u"\U0001F600")).fits());
    EXPECT_TRUE(EngineText(QString(257, u'a') + QString::fromUtf16(u"\U0001F600")).fits());
}

TEST(EngineText, ReturnedTextIsCutOnlyAtCharacterBoundaries) {
    EXPECT_EQ(fromEngineText(u"m\u00b2"), QStringLiteral("m²"));
    EXPECT_EQ(fromEngineText(nullptr), QString());

    const std::u16string accents(300, u'\u00e9');  // two bytes each: 129 fit with the terminator
    EXPECT_EQ(fromEngineText(accents.c_str()), QString(129, QChar(0xE9)));
    std::u16string faces;
    for (int i = 0; i < 100; ++i) faces += u"\U0001F600";  // four bytes each: 64 fit
    const QString back = fromEngineText(faces.c_str());
    EXPECT_EQ(back.size(), 128);
    EXPECT_FALSE(back.contains(QChar(0xFFFD)));

    char small[4];
    copyToNarrow(u"abcdef", small, sizeof small);
    EXPECT_STREQ(small, "abc");
    copyToNarrow(u"a\u00e9", small, 3);
    EXPECT_STREQ(small, "a") << "the accent's two bytes would leave no room for the terminator";
}

TEST(EngineText, TooLongMessageSaysHowLong) {
    const QString message = textTooLongMessage(QString(300, u'x'));
    EXPECT_TRUE(message.contains(QStringLiteral("too long"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("300"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("259"))) << message.toStdString();
    EXPECT_LT(message.size(), 200) << "the text itself is shortened";
}
