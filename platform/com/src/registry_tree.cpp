// The registry export format: parsing and writing.
#include "registry_tree.h"

#include "internal.h"

#include <comrt/registry.h>

#include <charconv>

namespace comrt::internal {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::string_view kRoot = "HKEY_CLASSES_ROOT\\";

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
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

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string lineProblem(std::size_t line, std::string_view what) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, line).ptr;
    return "line " + std::string(digits, end) + ": " + std::string(what);
}

}  // namespace

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
    tree.m_keys.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    bool headerSeen = false;
    std::string current;  // path of the section being read; empty before the first
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == ';') continue;
        if (!headerSeen) {
            if (line != kHeader && line != kOldHeader) return fail(lineNumber, "not a registry file (no header line)");
            headerSeen = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') return fail(lineNumber, "unterminated key name");
            std::string_view name = line.substr(1, line.size() - 2);
            if (!name.empty() && name.front() == '-') return fail(lineNumber, "key deletions are not supported");
            if (name.substr(0, kRoot.size()) != kRoot) return fail(lineNumber, "key outside HKEY_CLASSES_ROOT");
            name.remove_prefix(kRoot.size());
            if (!validKeyPath(name)) return fail(lineNumber, "invalid key name");
            current = std::string(name);
            tree.create(current);
            continue;
        }
        if (current.empty()) return fail(lineNumber, "value outside any key");
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else if (!readQuoted(line, name)) {
            return fail(lineNumber, "unreadable value name");
        }
        line = trim(line);
        if (line.empty() || line.front() != '=') return fail(lineNumber, "expected '=' after the value name");
        line = trim(line.substr(1));
        std::string data;
        if (!readQuoted(line, data)) return fail(lineNumber, "only quoted string values are supported");
        if (!trim(line).empty()) return fail(lineNumber, "text after the value");
        if (!validValueText(data)) return fail(lineNumber, "control character in a value");
        tree.setValue(current, name, data);
    }
    return ERROR_SUCCESS;
}

std::string RegistryTree::serialize() const {
    std::string out(kHeader);
    out += "\n";
    for (const auto& [lower, key] : m_keys) {
        out += "\n[";
        out += kRoot;
        out += key.path;
        out += "]\n";
        for (const auto& [name, data] : key.values) {
            if (name.empty()) {
                out += "@";
            } else {
                writeQuoted(out, name);
            }
            out += "=";
            writeQuoted(out, data);
            out += "\n";
        }
    }
    return out;
}

bool RegistryTree::exists(std::string_view path) const {
    return find(path) != nullptr || hasSubkeys(path);
}

bool RegistryTree::hasSubkeys(std::string_view path) const {
    const std::string below = asciiLower(path) + '\\';
    auto it = m_keys.lower_bound(below);
    return it != m_keys.end() && startsWith(it->first, below);
}

const RegistryKey* RegistryTree::find(std::string_view path) const {
    auto it = m_keys.find(asciiLower(path));
    return it == m_keys.end() ? nullptr : &it->second;
}

bool RegistryTree::create(std::string_view path) {
    auto [it, inserted] = m_keys.try_emplace(asciiLower(path));
    if (inserted) it->second.path = std::string(path);
    return inserted;
}

bool RegistryTree::remove(std::string_view path) {
    return m_keys.erase(asciiLower(path)) != 0;
}

bool RegistryTree::removeTree(std::string_view path) {
    const std::string lower = asciiLower(path);
    const std::string below = lower + '\\';
    bool removed = m_keys.erase(lower) != 0;
    auto it = m_keys.lower_bound(below);
    while (it != m_keys.end() && startsWith(it->first, below)) {
        it = m_keys.erase(it);
        removed = true;
    }
    return removed;
}

const std::string* RegistryTree::value(std::string_view path, std::string_view name) const {
    const RegistryKey* key = find(path);
    if (key == nullptr) return nullptr;
    const std::string lowerName = asciiLower(name);
    for (const auto& [n, data] : key->values) {
        if (asciiLower(n) == lowerName) return &data;
    }
    return nullptr;
}

void RegistryTree::setValue(std::string_view path, std::string_view name, std::string_view data) {
    create(path);
    RegistryKey& key = m_keys.find(asciiLower(path))->second;
    const std::string lowerName = asciiLower(name);
    for (auto& [n, d] : key.values) {
        if (asciiLower(n) == lowerName) {
            d = std::string(data);
            return;
        }
    }
    if (name.empty()) {
        key.values.insert(key.values.begin(), {std::string(), std::string(data)});
    } else {
        key.values.emplace_back(std::string(name), std::string(data));
    }
}

std::vector<std::string> RegistryTree::subkeys(std::string_view path) const {
    const std::string below = asciiLower(path) + '\\';
    std::map<std::string, std::string> children;  // lower-case name to spelling
    for (auto it = m_keys.lower_bound(below); it != m_keys.end() && startsWith(it->first, below); ++it) {
        const std::string& spelled = it->second.path;
        const std::size_t stop = spelled.find('\\', below.size());
        std::string name = spelled.substr(below.size(), stop == std::string::npos ? std::string::npos : stop - below.size());
        children.try_emplace(asciiLower(name), std::move(name));
    }
    std::vector<std::string> names;
    for (auto& entry : children) names.push_back(std::move(entry.second));
    return names;
}

std::vector<std::string> RegistryTree::paths() const {
    std::vector<std::string> out;
    out.reserve(m_keys.size());
    for (const auto& entry : m_keys) out.push_back(entry.second.path);
    return out;
}

}  // namespace comrt::internal
