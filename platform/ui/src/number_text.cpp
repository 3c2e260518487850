#include <kestrum/ui/number_text.h>

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace kestrum::ui {
namespace {

// The text between leading and trailing blanks and tabs, as Latin-1 bytes; nothing when it holds
// other characters than a number can have, so a Unicode digit is never mistaken for one.
std::optional<std::string> numberBytes(QStringView text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t')) ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t')) --end;
    std::string bytes;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = text[i].unicode();
        const bool allowed = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E';
        if (!allowed) return std::nullopt;
        bytes.push_back(char(c));
    }
    if (bytes.empty()) return std::nullopt;
    // from_chars takes no leading "+"; the platform's reading does (one sign, before the digits).
    if (bytes[0] == '+') {
        bytes.erase(0, 1);
        if (bytes.empty() || bytes[0] == '+' || bytes[0] == '-') return std::nullopt;
    }
    return bytes;
}

}  // namespace

QString formatDouble(double value, int digits) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, digits);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

QString formatShortest(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

std::optional<double> parseDouble(QStringView text) {
    const std::optional<std::string> bytes = numberBytes(text);
    if (!bytes) return std::nullopt;
    double value = 0;
    const char* last = bytes->data() + bytes->size();
    const auto result = std::from_chars(bytes->data(), last, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> parseInt(QStringView text) {
    const std::optional<std::string> bytes = numberBytes(text);
    if (!bytes) return std::nullopt;
    int value = 0;
    const char* last = bytes->data() + bytes->size();
    const auto result = std::from_chars(bytes->data(), last, value, 10);
    if (result.ec != std::errc() || result.ptr != last) return std::nullopt;
    return value;
}

}  // namespace kestrum::ui
