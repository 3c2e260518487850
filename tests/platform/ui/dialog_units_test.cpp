#include <kestrum/ui/dialog.h>
#include <kestrum/ui/dialog_units.h>
#include <kestrum/ui/resources.h>

#include <gtest/gtest.h>

#include <QFontInfo>

using namespace kestrum::ui;

TEST(DialogUnits, MulDivRoundsHalfAwayFromZero) {
    struct Row {
        int number, numerator, denominator, expected;
    };
    const Row rows[] = {
        {7, 6, 4, 11},    {15, 13, 8, 24},  {14, 13, 8, 23},       {76, 13, 8, 124}, {-7, 6, 4, -11},
        {7, -6, 4, -11},  {7, 6, -4, -11},  {-7, -6, -4, -11},     {1, 1, 2, 1},     {-1, 1, 2, -1},
        {1, 1, 3, 0},     {5, 0, 7, 0},     {5, 3, 0, -1},         {2000000, 3000, 1000, 6000000},
    };
    for (const Row& r : rows)
        EXPECT_EQ(MulDiv(r.number, r.numerator, r.denominator), r.expected)
            << r.number << " * " << r.numerator << " / " << r.denominator;
}

TEST(DialogUnits, TemplateFontIsSubstitutedAndGivesTheDesignedBaseUnits) {
    const QFont font = templateFont(QStringLiteral("MS Sans Serif"), 8);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("DejaVu Sans Condensed"));
    const DialogBaseUnits base = baseUnits(font);
    EXPECT_EQ(base.x, 6);
    EXPECT_EQ(base.y, 13);
    // A larger template font scales the whole layout.
    const DialogBaseUnits larger = baseUnits(templateFont(QStringLiteral("MS Sans Serif"), 10));
    EXPECT_EQ(larger.x, 7);
    EXPECT_EQ(larger.y, 15);
}

TEST(DialogUnits, TemplateControlsArePlacedInPixelsOfTheTemplateFont) {
    ResourceModule::application().addDialog(DialogTemplate{
        .id = 9001,
        .caption = QStringLiteral("Units"),
        .cx = 98,
        .cy = 126,
        .style = DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | DS_CENTER,
        .controls = {LTEXT(QStringLiteral("Value"), IDC_STATIC, 7, 7, 20, 8),
                     EDITTEXT(7542, 7, 15, 84, 14, ES_AUTOHSCROLL),
                     LISTBOX(7543, 7, 43, 84, 76, LBS_SORT | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT),
                     ICON(128, 7546, 60, 4)}});
    CDialog dialog(9001);
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.size(), QSize(147, 205));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Units"));
    EXPECT_EQ(dialog.GetDlgItem(7542)->geometry(), QRect(11, 24, 126, 23));
    EXPECT_EQ(dialog.GetDlgItem(7543)->geometry(), QRect(11, 70, 126, 124));
    // Icons keep the platform's 32 x 32 pixels.
    EXPECT_EQ(dialog.GetDlgItem(7546)->geometry(), QRect(90, 7, 32, 32));
    // Controls inherit the template font.
    EXPECT_EQ(QFontInfo(dialog.GetDlgItem(7542)->font()).family(), QStringLiteral("DejaVu Sans Condensed"));
}
