#include <kestrum/ui/dialog_units.h>

#include <QFontMetrics>

#include <cstdint>

int MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) return -1;
    const std::int64_t product = std::int64_t(nNumber) * nNumerator;
    const bool negative = (product < 0) != (nDenominator < 0);
    const std::int64_t a = product < 0 ? -product : product;
    const std::int64_t d = nDenominator < 0 ? -std::int64_t(nDenominator) : nDenominator;
    const std::int64_t q = (a + d / 2) / d;
    return int(negative ? -q : q);
}

namespace kestrum::ui {

void installFontSubstitutions() {
    static const bool installed = [] {
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans Condensed"));
        QFont::insertSubstitution(QStringLiteral("MS Shell Dlg"), QStringLiteral("DejaVu Sans Condensed"));
        return true;
    }();
    (void)installed;
}

QFont templateFont(const QString& face, int pointSize) {
    installFontSubstitutions();
    QFont font(face, pointSize);
    return font;
}

DialogBaseUnits baseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(width / 26 + 1) / 2, metrics.height()};
}

QRect mapDialogRect(const QRect& du, DialogBaseUnits base) {
    return {MulDiv(du.x(), base.x, 4), MulDiv(du.y(), base.y, 8), MulDiv(du.width(), base.x, 4),
            MulDiv(du.height(), base.y, 8)};
}

QSize mapDialogSize(const QSize& du, DialogBaseUnits base) {
    return {MulDiv(du.width(), base.x, 4), MulDiv(du.height(), base.y, 8)};
}

}  // namespace kestrum::ui
