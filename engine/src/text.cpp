#include "text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace kestrum {

std::size_t utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++units;  // every lead byte starts a character
        if (c >= 0xF0) ++units;           // four-byte sequences need a surrogate pair
    }
    return units;
}

std::string foldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = foldAscii(c);
    return out;
}

bool hasUpperAscii(std::string_view text) {
    for (char c : text)
        if (c >= 'A' && c <= 'Z') return true;
    return false;
}

NameKey::NameKey(std::string_view name) {
    // Up to 50 bytes can never exceed 50 code units; only longer UTF-8 text needs counting.
    if (name.size() > kMaxNameBytes || (name.size() > kMaxNameLength && utf16Length(name) > kMaxNameLength)) return;
    const std::size_t n = name.size();
    for (std::size_t i = 0; i < n; ++i) m_buffer[i] = foldAscii(name[i]);
    m_size = n;
    m_valid = true;
}

namespace {

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double readLeadingNumber(std::string_view text) {
    std::size_t end;
    return readLeadingNumber(text, end);
}

double readLeadingNumber(std::string_view text, std::size_t& end) {
    end = 0;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < n && isDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j])) ++j;
            i = j;
        }
    }
    end = i;
    double value = 0.0;
    const char* first = text.data() + start;
    const auto [ptr, ec] = std::from_chars(first, text.data() + i, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the decimal magnitude of the first significant
        // digit tells which (out of range means beyond 1e308 or below 1e-308).
        const std::string_view num(first, static_cast<std::size_t>(text.data() + i - first));
        const std::size_t ePos = num.find_first_of("eE");
        const std::string_view mantissa = num.substr(0, ePos);
        const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
        const std::size_t firstSignificant = mantissa.find_first_of("123456789");
        std::int64_t magnitude = firstSignificant < point
                                     ? static_cast<std::int64_t>(point - firstSignificant) - 1
                                     : -static_cast<std::int64_t>(firstSignificant - point);
        if (ePos != std::string_view::npos) magnitude += readLeadingInteger(num.substr(ePos + 1));
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::int64_t readLeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max() / 10 - 1;
    std::int64_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        if (value < kLimit) value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

namespace {

enum class Check { Utf8Only, Name, Text };

// Well-formed UTF-8; for names and texts also only XML characters, with nothing below U+0020
// except, in texts, tab, line feed and carriage return.
bool isWellFormed(std::string_view text, Check check) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        std::uint32_t cp;
        int extra;
        if (c < 0x80) {
            if (c < 0x20 && check != Check::Utf8Only &&
                !(check == Check::Text && (c == '\t' || c == '\n' || c == '\r')))
                return false;
            ++p;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            cp = c & 0x1F, extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            cp = c & 0x0F, extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            cp = c & 0x07, extra = 3;
        } else {
            return false;
        }
        if (end - p <= extra) return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[k] & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
        if (cp >= 0xD800 && cp <= 0xDFFF) return false;
        if (check != Check::Utf8Only && (cp == 0xFFFE || cp == 0xFFFF)) return false;
        p += extra + 1;
    }
    return true;
}

}  // namespace

bool isAcceptableNewName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameBytes) return false;
    std::size_t units = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            switch (c) {
                case ' ': case '*': case '/': case '(': case ')': case '.': case '^': return false;
                default: if (c < 0x20) return false;
            }
            ++units;
            continue;
        }
        // A non-ASCII character: check its sequence the slow way.
        std::size_t end = i + 1;
        while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) ++end;
        if (!isWellFormed(name.substr(i, end - i), Check::Name)) return false;
        units += c >= 0xF0 ? 2 : 1;
        i = end - 1;
    }
    return units <= kMaxNameLength && readLeadingNumber(name) == 0.0;
}

bool isValidUtf8(std::string_view text) {
    // Database files are nearly all ASCII: runs of it are skipped eight bytes at a time, and
    // only the stretches around other bytes are checked closely.
    std::size_t i = 0;
    while (i < text.size()) {
        while (i + 8 <= text.size()) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            if (word & 0x8080808080808080ULL) break;
            i += 8;
        }
        std::size_t end = std::min(text.size(), i + 8);
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        if (!isWellFormed(text.substr(i, end - i), Check::Utf8Only)) return false;
        i = end;
    }
    return true;
}
bool isStorableText(std::string_view text) { return isWellFormed(text, Check::Text); }

std::string shortestNumber(double value) {
    char buf[64];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, ptr) : std::string("0");
}

}  // namespace kestrum
