// What a rename does to expressions: every whole-term use of the old name, in any letter case,
// becomes the new name. Worked out before anything changes, then swapped in.
#include "tables.h"

namespace kestrum {

namespace {

bool isTermDelimiter(char c) { return c == '*' || c == '/' || c == '(' || c == ')' || c == '^'; }

bool equalsFolded(std::string_view text, std::string_view lowerKey) {
    if (text.size() != lowerKey.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (foldAscii(text[i]) != lowerKey[i]) return false;
    return true;
}

// Every whole-term occurrence of oldKey (in any letter case) replaced by newKey in out; false
// when there is none.
bool replaceTerms(std::string_view text, std::string_view oldKey, std::string_view newKey, std::string& out) {
    bool changed = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = i + oldKey.size();
        if ((i == 0 || isTermDelimiter(text[i - 1])) && end <= text.size() &&
            (end == text.size() || isTermDelimiter(text[end])) && equalsFolded(text.substr(i, oldKey.size()), oldKey)) {
            out += newKey;
            i = end;
            changed = true;
        } else {
            out += text[i++];
        }
    }
    return changed;
}

}  // namespace

Tables::TermRenames Tables::renamedTerms(bool inQuantities, std::string_view oldKey, std::string_view newKey) {
    TermRenames renames;
    auto collect = [&](std::string& expression) {
        std::string renamed;
        if (replaceTerms(expression, oldKey, newKey, renamed)) renames.emplace_back(&expression, std::move(renamed));
    };
    if (inQuantities) {
        for (auto& entry : m_quantities) collect(entry.second->expression);
    } else {
        for (auto& entry : m_units) collect(entry.second->expression);
    }
    return renames;
}

void Tables::applyRenames(TermRenames& renames) noexcept {
    for (auto& [expression, renamed] : renames) expression->swap(renamed);
}

}  // namespace kestrum
