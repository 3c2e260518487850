// The registry export format: parsing and writing, keeping what the runtime does not read.
#include "registry_tree.h"

#include "internal.h"

#include <comrt/registry.h>

#include <charconv>

namespace comrt::internal {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::string_view kRoot = "HKEY_CLASSES_ROOT\\";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
        s.remove_suffix(1);
    }
    return s;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Reads a quoted string at the start of s; on success s is left after the closing quote.
bool readQuoted(std::string_view& s, std::string& out) {
    if (s.empty() || s.front() != '"') return false;
    out.clear();
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) return false;
            out.push_back(s[++i]);
        } else {
            out.push_back(c);
        }
    }
    return false;
}

void writeQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The bytes of a hex value: pairs of hex digits separated by commas and blanks, with a final
// backslash when the value goes on in the next line.
bool hexBytes(std::string_view s, bool& continues) {
    s = trim(s);
    continues = !s.empty() && s.back() == '\\';
    if (continues) s.remove_suffix(1);
    for (char c : s) {
        if (!isHexDigit(c) && c != ',' && c != ' ' && c != '\t') return false;
    }
    return true;
}

// The data of a value of another type, as the export format writes them: dword:8 hex digits,
// hex:bytes or hex(type):bytes.
bool otherTypedData(std::string_view data, bool& continues) {
    continues = false;
    if (startsWith(data, "dword:")) {
        const std::string_view digits = data.substr(6);
        if (digits.empty() || digits.size() > 8) return false;
        for (char c : digits) {
            if (!isHexDigit(c)) return false;
        }
        return true;
    }
    if (startsWith(data, "hex:")) return hexBytes(data.substr(4), continues);
    if (startsWith(data, "hex(")) {
        const std::size_t close = data.find("):");
        if (close == std::string_view::npos || close == 4) return false;
        for (char c : data.substr(4, close - 4)) {
            if (!isHexDigit(c)) return false;
        }
        return hexBytes(data.substr(close + 2), continues);
    }
    return false;
}

std::string lineProblem(std::size_t line, std::string_view what) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, line).ptr;
    return "line " + std::string(digits, end) + ": " + std::string(what);
}

// Lines the runtime does not read, kept as they are.
RegistryLine textOnly(std::string raw) {
    RegistryLine line;
    line.raw = std::move(raw);
    return line;
}

// Appends a piece of the file, first ending the text before it with a line break if the file
// did not (a last line without one, followed by something new).
void appendPiece(std::string& out, std::string_view piece) {
    if (piece.empty()) return;
    if (!out.empty() && out.back() != '\n') out.push_back('\n');
    out.append(piece);
}

}  // namespace

std::string_view lineBreakOf(std::string_view sample) {
    return sample.size() >= 2 && sample.substr(sample.size() - 2) == "\r\n" ? "\r\n" : "\n";
}

std::string valueLine(std::string_view name, std::string_view data, std::string_view lineBreak) {
    std::string out;
    if (name.empty()) {
        out = "@";
    } else {
        writeQuoted(out, name);
    }
    out += "=";
    writeQuoted(out, data);
    out += lineBreak;
    return out;
}

bool validKeyPath(std::string_view path) {
    if (path.empty() || path.front() == '\\' || path.back() == '\\') return false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c < 0x20 || c == 0x7F) return false;
        if (c == '\\' && path[i + 1] == '\\') return false;
    }
    return true;
}

bool validValueText(std::string_view text) {
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
    }
    return true;
}

LONG RegistryTree::parse(std::string_view text, RegistryTree& tree, std::string* problem) {
    auto fail = [&](std::size_t line, std::string_view what) {
        if (problem != nullptr) *problem = lineProblem(line, what);
        return ERROR_BADDB;
    };
    RegistryTree parsed;
    bool headerSeen = false;
    RegistryKey* current = nullptr;
    std::string pending;  // blank and comment lines not yet placed
    std::size_t lineNumber = 0;
    std::size_t at = 0;
    auto nextLine = [&]() {
        const std::size_t end = text.find('\n', at);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view raw = text.substr(at, stop - at);
        at = stop;
        ++lineNumber;
        return raw;
    };
    while (at < text.size()) {
        const std::string_view raw = nextLine();
        std::string_view line = trim(lineNumber == 1 && startsWith(raw, kBom) ? raw.substr(kBom.size()) : raw);
        if (line.empty() || line.front() == ';') {
            (headerSeen ? pending : parsed.m_preamble).append(raw);
            continue;
        }
        if (!headerSeen) {
            if (line != kHeader && line != kOldHeader) return fail(lineNumber, "not a registry file (no header line)");
            headerSeen = true;
            parsed.m_preamble.append(raw);
            parsed.m_lineBreak = std::string(lineBreakOf(raw));
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') return fail(lineNumber, "unterminated key name");
            std::string_view name = line.substr(1, line.size() - 2);
            if (!name.empty() && name.front() == '-') return fail(lineNumber, "key deletions are not supported");
            if (!startsWith(name, kRoot)) return fail(lineNumber, "key outside HKEY_CLASSES_ROOT");
            name.remove_prefix(kRoot.size());
            if (!validKeyPath(name)) return fail(lineNumber, "invalid key name");
            if (parsed.find(name) != nullptr) {
                // A second section of one key joins the first, its lines kept as they were.
                current = &parsed.entry(name);
                current->lines.push_back(textOnly(pending + std::string(raw)));
            } else {
                // Keys stay in the order of the file.
                RegistryKey key;
                key.path = std::string(name);
                key.leading = pending;
                key.header = std::string(raw);
                parsed.m_order.push_back(std::move(key));
                parsed.m_keys.emplace(asciiLower(name), std::prev(parsed.m_order.end()));
                current = &parsed.m_order.back();
            }
            pending.clear();
            continue;
        }
        if (current == nullptr) return fail(lineNumber, "value outside any key");
        RegistryLine value;
        value.isValue = true;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else if (!readQuoted(line, value.name)) {
            return fail(lineNumber, "unreadable value name");
        }
        line = trim(line);
        if (line.empty() || line.front() != '=') return fail(lineNumber, "expected '=' after the value name");
        line = trim(line.substr(1));
        value.raw = std::string(raw);
        if (!line.empty() && line.front() == '"') {
            if (!readQuoted(line, value.data)) return fail(lineNumber, "unterminated string");
            if (!trim(line).empty()) return fail(lineNumber, "text after the value");
            if (!validValueText(value.data)) return fail(lineNumber, "control character in a value");
            value.isText = true;
        } else {
            bool continues = false;
            if (!otherTypedData(line, continues)) return fail(lineNumber, "unreadable value data");
            while (continues) {
                if (at >= text.size()) return fail(lineNumber, "value continues past the end of the file");
                const std::string_view more = nextLine();
                if (!hexBytes(more, continues)) return fail(lineNumber, "unreadable value data");
                value.raw.append(more);
            }
        }
        if (!pending.empty()) current->lines.push_back(textOnly(std::move(pending)));
        pending.clear();
        // The last of two values of one name is the one that counts; the first stays as text.
        const std::string lowerName = asciiLower(value.name);
        for (RegistryLine& earlier : current->lines) {
            if (earlier.isValue && asciiLower(earlier.name) == lowerName) earlier.isValue = earlier.isText = false;
        }
        current->lines.push_back(std::move(value));
    }
    parsed.m_epilogue = std::move(pending);
    tree = std::move(parsed);
    return ERROR_SUCCESS;
}

std::string RegistryTree::serialize() const {
    std::string out;
    // A file that held no header line (empty, or comments only) gets one first.
    bool hasHeader = false;
    for (std::size_t at = 0; at < m_preamble.size() && !hasHeader;) {
        const std::size_t end = m_preamble.find('\n', at);
        std::string_view line = std::string_view(m_preamble).substr(at, end == std::string::npos ? end : end - at);
        if (at == 0 && startsWith(line, kBom)) line.remove_prefix(kBom.size());
        line = trim(line);
        hasHeader = line == kHeader || line == kOldHeader;
        at = end == std::string::npos ? m_preamble.size() : end + 1;
    }
    if (!hasHeader) {
        out.append(kHeader);
        out.push_back('\n');
    }
    appendPiece(out, m_preamble);
    for (const RegistryKey& key : m_order) {
        appendPiece(out, key.leading);
        if (key.header.empty()) {
            appendPiece(out, "[" + std::string(kRoot) + key.path + "]" + m_lineBreak);
        } else {
            appendPiece(out, key.header);
        }
        for (const RegistryLine& line : key.lines) appendPiece(out, line.raw);
    }
    appendPiece(out, m_epilogue);
    return out;
}

}  // namespace comrt::internal
