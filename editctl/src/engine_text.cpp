#include "engine_text.h"

#include <algorithm>
#include <string>

namespace kestrum::editctl {

EngineText::EngineText(const QString& text) : m_text(text) {
    const QByteArray narrow = text.toUtf8();
    // The conversion writes nothing when the buffer is too small: measure first.
    const int needed = MultiByteToWideChar(CP_ACP, 0, narrow.constData(), -1, nullptr, 0);
    if (needed <= 0 || needed > kEngineTextSize) return;
    m_fits = MultiByteToWideChar(CP_ACP, 0, narrow.constData(), -1, m_buffer.data(), kEngineTextSize) == needed;
    if (!m_fits) m_buffer.fill(0);
}

void copyToNarrow(const OLECHAR* text, char* buffer, int size) {
    if (size <= 0) return;
    buffer[0] = '\0';
    if (text == nullptr) return;
    int length = 0;
    while (text[length] != 0) ++length;
    if (length == 0) return;
    // Whole characters only: the longest prefix, never ending inside a surrogate pair, whose
    // narrow form leaves room for the terminator.
    // Every character takes at least one byte, so no more than size - 1 of them can fit.
    int take = std::min(length, size - 1);
    if (take > 0 && take < length && text[take - 1] >= 0xD800 && text[take - 1] <= 0xDBFF) --take;
    while (take > 0) {
        const int bytes = WideCharToMultiByte(CP_ACP, 0, text, take, nullptr, 0, nullptr, nullptr);
        if (bytes > 0 && bytes < size) {
            WideCharToMultiByte(CP_ACP, 0, text, take, buffer, bytes, nullptr, nullptr);
            buffer[bytes] = '\0';
            return;
        }
        --take;
        if (take > 0 && text[take - 1] >= 0xD800 && text[take - 1] <= 0xDBFF) --take;
    }
}

QString fromEngineText(const OLECHAR* text) {
    char buffer[kEngineTextSize];
    copyToNarrow(text, buffer, kEngineTextSize);
    return QString::fromUtf8(buffer);
}

QString textTooLongMessage(const QString& text) {
    constexpr qsizetype kShown = 40;
    const QString start = text.size() > kShown ? text.left(kShown) + QStringLiteral("...") : text;
    return QStringLiteral("The text \"%1\" is too long for the unit engine: it has %2 characters, at most %3 are allowed.")
        .arg(start)
        .arg(text.size())
        .arg(kEngineTextSize - 1);
}

}  // namespace kestrum::editctl
