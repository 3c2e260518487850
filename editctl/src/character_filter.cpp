#include "character_filter.h"

namespace kestrum::editctl {

bool allowChar(char32_t c, int nPos, bool hasDecimalPoint) {
    if (c >= U'0' && c <= U'9') return true;
    const bool printable = c >= 0x20 && c <= 0x7E;
    if (!printable) return true;
    if (c == U'.') return !hasDecimalPoint || nPos == 0;
    if (c == U'-') return nPos == 0;
    return false;
}

bool allowPaste(QStringView pasted, QStringView current, int start, int end, bool hasDecimalPoint) {
    bool point = hasDecimalPoint;
    if (point && start < end && current.mid(start, end - start).contains(u'.')) point = false;
    for (qsizetype i = 0; i < pasted.size(); ++i)
        if (!allowChar(pasted[i].unicode(), start + int(i), point)) return false;
    return true;
}

QString pasteText(const QString& clipboardText) {
    const qsizetype zero = clipboardText.indexOf(QChar(u'\0'));
    return zero < 0 ? clipboardText : clipboardText.left(zero);
}

QString pasteRefusedMessage(const QString& pasted) {
    return QStringLiteral("Cannot paste the following value into the dimsafe edit control\n\"") + pasted +
           QStringLiteral("\"\nOnly numeric values can be pasted");
}

}  // namespace kestrum::editctl
