// UTF-8 / UTF-16 conversion, identifiers in text, and counted strings.
#include "internal.h"

#include <comrt/faults.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace comrt::internal {

namespace {

std::atomic<long> g_allocationsBeforeFailure{-1};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool allocationAllowed() {
    long left = g_allocationsBeforeFailure.load(std::memory_order_relaxed);
    while (left >= 0) {
        if (g_allocationsBeforeFailure.compare_exchange_weak(left, left - 1)) return left != 0;
    }
    return true;
}

void* allocate(std::size_t bytes) {
    if (!allocationAllowed()) return nullptr;
    return std::malloc(bytes);
}

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string toUtf8(const OLECHAR* text) {
    if (text == nullptr) return {};
    return toUtf8(std::u16string_view(text));
}

bool decodeUtf8(std::string_view text, std::u16string& out, bool escapeBytes) {
    bool valid = true;
    out.reserve(out.size() + text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        char32_t c = 0xFFFD;
        std::size_t length = 1;
        if (b0 < 0x80) {
            c = b0;
        } else {
            std::size_t need = b0 >= 0xF0 && b0 <= 0xF4 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 && b0 < 0xE0 ? 2 : 0;
            if (need != 0 && i + need <= text.size()) {
                char32_t value = b0 & (0xFF >> (need + 1));
                bool good = true;
                for (std::size_t k = 1; k < need; ++k) {
                    const auto b = static_cast<unsigned char>(text[i + k]);
                    if ((b & 0xC0) != 0x80) {
                        good = false;
                        break;
                    }
                    value = (value << 6) | (b & 0x3F);
                }
                const char32_t least = need == 2 ? 0x80 : need == 3 ? 0x800 : 0x10000;
                if (good && value >= least && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF)) {
                    c = value;
                    length = need;
                }
            }
            valid = valid && length != 1;
            if (length == 1 && escapeBytes) c = 0xDC00 + b0;
        }
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += length;
    }
    return valid;
}

std::u16string pathToWide(std::string_view path) {
    std::u16string out;
    decodeUtf8(path, out, true);
    return out;
}

std::string wideToPath(std::u16string_view path) {
    std::string out;
    out.reserve(path.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        const bool escaped = i < path.size() && path[i] >= 0xDC80 && path[i] <= 0xDCFF &&
                             (i == 0 || path[i - 1] < 0xD800 || path[i - 1] > 0xDBFF);
        if (i < path.size() && !escaped) continue;
        out += toUtf8(path.substr(start, i - start));
        if (escaped) out.push_back(static_cast<char>(path[i] - 0xDC00));
        start = i + 1;
    }
    return out;
}

std::u16string toUtf16(std::string_view text) {
    std::u16string out;
    decodeUtf8(text, out);
    return out;
}

BSTR allocString(std::u16string_view text) {
    if (text.size() > std::numeric_limits<UINT>::max()) return nullptr;
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

BSTR allocString(std::string_view utf8) {
    return allocString(std::u16string_view(toUtf16(utf8)));
}

std::string guidText(REFGUID guid) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out = "{";
    auto put = [&](std::uint64_t value, int digits) {
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out.push_back(kDigits[(value >> shift) & 0xF]);
    };
    put(guid.Data1, 8);
    out.push_back('-');
    put(guid.Data2, 4);
    out.push_back('-');
    put(guid.Data3, 4);
    out.push_back('-');
    put(guid.Data4[0], 2);
    put(guid.Data4[1], 2);
    out.push_back('-');
    for (int i = 2; i < 8; ++i) put(guid.Data4[i], 2);
    out.push_back('}');
    return out;
}

bool parseGuid(std::string_view text, GUID& guid) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    static constexpr int kDashes[] = {9, 14, 19, 24};
    std::uint8_t bytes[16];
    int count = 0;
    for (std::size_t i = 1; i < 37; ++i) {
        bool dash = false;
        for (int d : kDashes) dash = dash || static_cast<int>(i) == d;
        if (dash) {
            if (text[i] != '-') return false;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes[count++] = static_cast<std::uint8_t>(high * 16 + low);
        ++i;
    }
    guid.Data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
                 bytes[3];
    guid.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    guid.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    std::memcpy(guid.Data4, bytes + 8, 8);
    return true;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i];
        char16_t y = b[i];
        if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
        if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace comrt::internal

namespace comrt {

void FailAllocationAfter(long count) {
    internal::g_allocationsBeforeFailure.store(count < 0 ? -1 : count);
}

std::string ToUtf8(const OLECHAR* text) {
    return internal::toUtf8(text);
}

std::string ToUtf8(std::u16string_view text) {
    return internal::toUtf8(text);
}

std::u16string ToUtf16(std::string_view utf8) {
    return internal::toUtf16(utf8);
}

std::u16string PathToWide(std::string_view path) {
    return internal::pathToWide(path);
}

std::string WideToPath(const OLECHAR* path) {
    return path == nullptr ? std::string() : internal::wideToPath(path);
}

BSTR Utf8ToBstr(std::string_view utf8) {
    return internal::guarded(BSTR{nullptr}, [&] { return internal::allocString(utf8); });
}

}  // namespace comrt

using comrt::internal::allocate;

namespace {
// The byte count lives in the four bytes before the first character.
std::uint32_t& byteCount(BSTR s) {
    return *reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(s) - sizeof(std::uint32_t));
}
}  // namespace

extern "C" {

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    const std::size_t bytes = std::size_t{ui} * sizeof(OLECHAR);
    if (bytes > std::numeric_limits<std::uint32_t>::max() - 8) return nullptr;
    auto* block = static_cast<char*>(allocate(sizeof(std::uint32_t) + bytes + sizeof(OLECHAR)));
    if (block == nullptr) return nullptr;
    auto* text = reinterpret_cast<BSTR>(block + sizeof(std::uint32_t));
    byteCount(text) = static_cast<std::uint32_t>(bytes);
    if (strIn != nullptr) {
        std::memcpy(text, strIn, bytes);
    } else {
        std::memset(text, 0, bytes);
    }
    text[ui] = 0;
    return text;
}

BSTR SysAllocString(const OLECHAR* psz) {
    if (psz == nullptr) return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(std::char_traits<char16_t>::length(psz)));
}

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
    if (pbstr == nullptr) return 0;
    BSTR copy = SysAllocString(psz);
    if (copy == nullptr && psz != nullptr) return 0;
    SysFreeString(*pbstr);
    *pbstr = copy;
    return 1;
}

void SysFreeString(BSTR bstrString) {
    if (bstrString == nullptr) return;
    std::free(reinterpret_cast<char*>(bstrString) - sizeof(std::uint32_t));
}

UINT SysStringLen(BSTR pbstr) {
    return pbstr == nullptr ? 0 : byteCount(pbstr) / sizeof(OLECHAR);
}

UINT SysStringByteLen(BSTR bstr) {
    return bstr == nullptr ? 0 : byteCount(bstr);
}

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPOLESTR lpWideCharStr,
                        int cchWideChar) {
    if (lpMultiByteStr == nullptr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (CodePage != CP_ACP && CodePage != CP_UTF8) || (cchWideChar > 0 && lpWideCharStr == nullptr)) {
        return 0;
    }
    const std::size_t length = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : std::size_t(cbMultiByte);
    return comrt::internal::guarded(0, [&] {
        std::u16string wide;
        const bool valid = comrt::internal::decodeUtf8(std::string_view(lpMultiByteStr, length), wide);
        if ((!valid && (dwFlags & MB_ERR_INVALID_CHARS) != 0) || wide.size() > std::size_t(INT_MAX)) return 0;
        const int needed = static_cast<int>(wide.size());
        if (cchWideChar == 0) return needed;
        if (cchWideChar < needed) return 0;
        std::memcpy(lpWideCharStr, wide.data(), wide.size() * sizeof(OLECHAR));
        return needed;
    });
}

int WideCharToMultiByte(UINT CodePage, DWORD, LPCOLESTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, BOOL* lpUsedDefaultChar) {
    if (lpWideCharStr == nullptr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (CodePage != CP_ACP && CodePage != CP_UTF8) || (cbMultiByte > 0 && lpMultiByteStr == nullptr) ||
        lpDefaultChar != nullptr || lpUsedDefaultChar != nullptr) {
        return 0;
    }
    const std::size_t length =
        cchWideChar == -1 ? std::char_traits<char16_t>::length(lpWideCharStr) + 1 : std::size_t(cchWideChar);
    return comrt::internal::guarded(0, [&] {
        const std::string narrow = comrt::internal::toUtf8(std::u16string_view(lpWideCharStr, length));
        if (narrow.size() > std::size_t(INT_MAX)) return 0;
        const int needed = static_cast<int>(narrow.size());
        if (cbMultiByte == 0) return needed;
        if (cbMultiByte < needed) return 0;
        std::memcpy(lpMultiByteStr, narrow.data(), narrow.size());
        return needed;
    });
}

}  // extern "C"
