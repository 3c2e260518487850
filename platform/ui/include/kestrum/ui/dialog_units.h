// Dialog units: the coordinates dialog templates are written in, converted to pixels from the
// template font's metrics. The horizontal base unit is (width of "A".."Z""a".."z" / 26 + 1) / 2,
// the vertical one the font's height; x and width convert as MulDiv(du, base, 4), y and height
// as MulDiv(du, base, 8). "MS Sans Serif" is substituted with "DejaVu Sans Condensed", whose
// 8-point metrics give the same 6 x 13 base units, so layouts come out at their designed size.
#pragma once

#include <kestrum/ui/export.h>

#include <QFont>
#include <QRect>
#include <QSize>

// a * b / c in 64 bits, rounded half away from zero; -1 when c is 0.
KESTRUM_UI_API int MulDiv(int nNumber, int nNumerator, int nDenominator);

namespace kestrum::ui {

struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

// Registers the font substitutions; cheap and idempotent, called wherever a template font is made.
KESTRUM_UI_API void installFontSubstitutions();

KESTRUM_UI_API QFont templateFont(const QString& face, int pointSize);
KESTRUM_UI_API DialogBaseUnits baseUnits(const QFont& font);

KESTRUM_UI_API QRect mapDialogRect(const QRect& dialogUnits, DialogBaseUnits base);
KESTRUM_UI_API QSize mapDialogSize(const QSize& dialogUnits, DialogBaseUnits base);

}  // namespace kestrum::ui
