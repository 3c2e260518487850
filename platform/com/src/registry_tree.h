// The registry's keys and values in memory, and their text form.
#pragma once

#include <comrt/types.h>

#include <list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace comrt::internal {

// One line of a key's section as it stands in the file: a value, or a comment or blank line.
// raw is written back byte for byte (line break included) until the value is changed.
struct RegistryLine {
    std::string raw;
    bool isValue = false;
    bool isText = false;  // a quoted string value; other types (dword:, hex:) are kept, not read
    std::string name;     // the value's name ("" = default)
    std::string data;     // the text of a string value
};

struct RegistryKey {
    std::string path;     // spelled as created, components separated by '\'
    std::string leading;  // the blank and comment lines before the section, as read
    std::string header;   // the section line as read; empty for a key created here
    std::vector<RegistryLine> lines;
};

// Keys are looked up without regard to ASCII case. A key "exists" when it has an entry of its
// own (it was created or has a section in the file) or when any key below it does.
//
// The tree keeps the file's text: a rewrite gives back every line the runtime does not use
// (comments, values of other types, the header as spelled) unchanged and in place, keys in
// their order in the file; a new key goes before the first key that sorts after it.
class RegistryTree {
public:
    RegistryTree() = default;
    RegistryTree(const RegistryTree&) = delete;
    RegistryTree& operator=(const RegistryTree&) = delete;
    RegistryTree(RegistryTree&&) = default;
    RegistryTree& operator=(RegistryTree&&) = default;

    // ERROR_SUCCESS, or ERROR_BADDB with *problem ("line 7: ...") when the text is not a
    // registry file in the export format.
    static LONG parse(std::string_view text, RegistryTree& tree, std::string* problem);
    std::string serialize() const;

    bool exists(std::string_view path) const;
    bool hasSubkeys(std::string_view path) const;
    const RegistryKey* find(std::string_view path) const;
    // Gives the key an entry of its own; true when it had none.
    bool create(std::string_view path);
    // Removes the key's own entry (not the keys below it); false when it had none.
    bool remove(std::string_view path);
    // Removes the key and every key below it; false when nothing was there.
    bool removeTree(std::string_view path);
    // The text of a string value; null when the value is missing or of another type.
    const std::string* value(std::string_view path, std::string_view name) const;
    // The key gets an entry of its own if it has none; a value of another type by that name
    // is replaced.
    void setValue(std::string_view path, std::string_view name, std::string_view data);
    // The names (as spelled) of the keys directly below path, existing implicitly or not.
    std::vector<std::string> subkeys(std::string_view path) const;
    bool empty() const { return m_keys.empty(); }
    // Puts every key of over, with its values, in place of this tree's key of that name (the
    // keys below it stay): the user's classes covering the machine's.
    void overlay(const RegistryTree& over);

private:
    RegistryKey& entry(std::string_view path);

    std::string m_preamble;  // the header line and whatever precedes the first section
    std::string m_epilogue;  // blank and comment lines after the last value
    std::string m_lineBreak = "\n";  // the file's own, for the lines written into it
    std::list<RegistryKey> m_order;
    std::map<std::string, std::list<RegistryKey>::iterator> m_keys;  // by lower-case path
};

// A key path is valid when it is non-empty, its components are non-empty and it holds no
// control characters (they have no spelling in the file).
bool validKeyPath(std::string_view path);
// Value text holds no control characters other than tab.
bool validValueText(std::string_view text);

// The line break that sample ends with, for lines written beside it.
std::string_view lineBreakOf(std::string_view sample);
// A value's line as the export format writes it ("@" names the default value).
std::string valueLine(std::string_view name, std::string_view data, std::string_view lineBreak);

}  // namespace comrt::internal
