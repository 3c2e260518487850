// Qt text across the component boundary: a counted wide string made from a QString and taken
// back from one the engine handed out. Text crosses whole, embedded NULs included, so the
// engine's own limits judge it instead of a cut text meaning something else.
#pragma once

#include <comrt/owned.h>

#include <QString>

inline comrt::OwnedBstr ToBstr(const QString& text) {
    return comrt::OwnedBstr::Counted({reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())});
}

inline QString ToQString(const comrt::OwnedBstr& text) {
    return text ? QString::fromUtf16(reinterpret_cast<const char16_t*>(text.get()), SysStringLen(text.get())) : QString();
}
