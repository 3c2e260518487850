// The character filter of the quantity edit control: what may be typed or pasted where. Every
// way text enters the control (typing, every kind of paste, drag and drop) is checked here.
#pragma once

#include <QString>
#include <QStringView>

namespace kestrum::editctl {

// Whether the character c may go in at position nPos of a text that holds a "." or not:
// digits; characters that are not printable (backspace and other control characters, and,
// since only codes 32 to 126 count as printable, every code from 127 up); "." when the text
// has none yet or at position 0; "-" only at position 0. Letters, spaces, ",", "+" and every
// other printable character are refused.
bool allowChar(char32_t c, int nPos, bool hasDecimalPoint);

// Whether pasted text may replace the selection [start, end) of current: each of its
// characters is checked where it would land, with the text's "." forgotten when the selection
// holds it (the paste replaces it). The point flag does not advance during the check, so
// "1.2.3" passes where the text has no point.
bool allowPaste(QStringView pasted, QStringView current, int start, int end, bool hasDecimalPoint);

// Pasted text as the control takes it: up to its first zero character.
QString pasteText(const QString& clipboardText);

// The message of a refused paste.
inline constexpr const char* kPasteIgnoredCaption = "Paste Command Ignored";
QString pasteRefusedMessage(const QString& pasted);

}  // namespace kestrum::editctl
