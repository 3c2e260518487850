// The registry tree's keys and values: lookups, creation, removal, overlays and value edits.
#include "registry_tree.h"

#include "internal.h"

#include <comrt/registry.h>

#include <iterator>
#include <map>

namespace comrt::internal {

RegistryKey& RegistryTree::entry(std::string_view path) {
    return *m_keys.find(asciiLower(path))->second;
}

bool RegistryTree::exists(std::string_view path) const {
    return find(path) != nullptr || hasSubkeys(path);
}

bool RegistryTree::hasSubkeys(std::string_view path) const {
    const std::string below = asciiLower(path) + '\\';
    auto it = m_keys.lower_bound(below);
    return it != m_keys.end() && std::string_view(it->first).starts_with(below);
}

const RegistryKey* RegistryTree::find(std::string_view path) const {
    auto it = m_keys.find(asciiLower(path));
    return it == m_keys.end() ? nullptr : &*it->second;
}

bool RegistryTree::create(std::string_view path) {
    std::string lower = asciiLower(path);
    auto next = m_keys.upper_bound(lower);
    if (next != m_keys.begin() && std::prev(next)->first == lower) return false;
    RegistryKey key;
    key.path = std::string(path);
    key.leading = m_lineBreak;
    const auto position = next == m_keys.end() ? m_order.end() : next->second;
    const auto placed = m_order.insert(position, std::move(key));
    m_keys.emplace_hint(next, std::move(lower), placed);
    return true;
}

bool RegistryTree::remove(std::string_view path) {
    auto it = m_keys.find(asciiLower(path));
    if (it == m_keys.end()) return false;
    m_order.erase(it->second);
    m_keys.erase(it);
    return true;
}

bool RegistryTree::removeTree(std::string_view path) {
    const std::string lower = asciiLower(path);
    const std::string below = lower + '\\';
    bool removed = remove(path);
    auto it = m_keys.lower_bound(below);
    while (it != m_keys.end() && std::string_view(it->first).starts_with(below)) {
        m_order.erase(it->second);
        it = m_keys.erase(it);
        removed = true;
    }
    return removed;
}

void RegistryTree::overlay(const RegistryTree& over) {
    for (const RegistryKey& key : over.m_order) {
        create(key.path);
        entry(key.path).lines = key.lines;
    }
}

const std::string* RegistryTree::value(std::string_view path, std::string_view name) const {
    const RegistryKey* key = find(path);
    if (key == nullptr) return nullptr;
    const std::string lowerName = asciiLower(name);
    for (const RegistryLine& line : key->lines) {
        if (line.isValue && asciiLower(line.name) == lowerName) return line.isText ? &line.data : nullptr;
    }
    return nullptr;
}

void RegistryTree::setValue(std::string_view path, std::string_view name, std::string_view data) {
    create(path);
    RegistryKey& key = entry(path);
    const std::string lowerName = asciiLower(name);
    for (RegistryLine& line : key.lines) {
        if (line.isValue && asciiLower(line.name) == lowerName) {
            // Only this line changes; it keeps its name as spelled and its line break.
            line.raw = valueLine(line.name, data, lineBreakOf(line.raw));
            line.isText = true;
            line.data = std::string(data);
            return;
        }
    }
    RegistryLine added{valueLine(name, data, key.header.empty() ? m_lineBreak : lineBreakOf(key.header)), true,
                       true, std::string(name), std::string(data)};
    // The default value leads the key's values, as the export format writes it; a named one
    // follows the last value.
    auto position = key.lines.end();
    if (name.empty()) {
        for (auto it = key.lines.begin(); it != key.lines.end(); ++it) {
            if (it->isValue) {
                position = it;
                break;
            }
        }
    } else {
        for (auto it = key.lines.begin(); it != key.lines.end(); ++it) {
            if (it->isValue) position = std::next(it);
        }
    }
    key.lines.insert(position, std::move(added));
}

std::vector<std::string> RegistryTree::subkeys(std::string_view path) const {
    const std::string below = asciiLower(path) + '\\';
    std::map<std::string, std::string> children;  // lower-case name to spelling
    for (auto it = m_keys.lower_bound(below); it != m_keys.end() && std::string_view(it->first).starts_with(below); ++it) {
        const std::string& spelled = it->second->path;
        const std::size_t stop = spelled.find('\\', below.size());
        std::string name = spelled.substr(below.size(), stop == std::string::npos ? std::string::npos : stop - below.size());
        children.try_emplace(asciiLower(name), std::move(name));
    }
    std::vector<std::string> names;
    for (auto& entry : children) names.push_back(std::move(entry.second));
    return names;
}

}  // namespace comrt::internal
