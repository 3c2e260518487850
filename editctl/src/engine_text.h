// Text on its way to and from the engine. Strings cross as plain terminated wide text in fixed
// buffers of 260 characters, so names and expressions are limited to 259 characters; a longer
// one is refused whole, never cut into a different, valid expression. Text the engine returns
// comes back through a 260-byte narrow buffer, cut (at a character boundary) only when it would
// not fit there.
#pragma once

#include <comrt/comrt.h>

#include <QString>

#include <array>

namespace kestrum::editctl {

inline constexpr int kEngineTextSize = 260;

class EngineText {
public:
    explicit EngineText(const QString& text);
    Q_DISABLE_COPY(EngineText)

    // False when the text needs kEngineTextSize wide characters or more: it must not be passed.
    bool fits() const { return m_fits; }
    const QString& text() const { return m_text; }
    // The terminated wide text, for a string parameter of the engine (empty when it does not fit).
    BSTR get() { return m_buffer.data(); }

private:
    QString m_text;
    std::array<OLECHAR, kEngineTextSize> m_buffer{};
    bool m_fits = false;
};

// Writes text (up to its first zero) into a narrow buffer of `size` bytes, terminated; cut at a
// character boundary when it does not fit. Null text gives an empty string.
void copyToNarrow(const OLECHAR* text, char* buffer, int size);
// The same through a buffer of kEngineTextSize bytes.
QString fromEngineText(const OLECHAR* text);

// The message shown instead of passing text that does not fit.
inline constexpr const char* kTextTooLongCaption = "Dimsafe Edit Control";
QString textTooLongMessage(const QString& text);

}  // namespace kestrum::editctl
