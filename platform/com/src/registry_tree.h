// The registry's keys and values in memory, and their text form.
#pragma once

#include <comrt/types.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace comrt::internal {

struct RegistryKey {
    std::string path;  // spelled as created, components separated by '\'
    std::vector<std::pair<std::string, std::string>> values;  // name ("" = default) and text
};

// Keys are looked up without regard to ASCII case. A key "exists" when it has an entry of its
// own (it was created or has a section in the file) or when any key below it does.
class RegistryTree {
public:
    // ERROR_SUCCESS, or ERROR_BADDB with *problem ("line 7: ...") when the text is not a
    // registry file this runtime wrote or could have written.
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
    const std::string* value(std::string_view path, std::string_view name) const;
    // The key gets an entry of its own if it has none.
    void setValue(std::string_view path, std::string_view name, std::string_view data);
    // The names (as spelled) of the keys directly below path, existing implicitly or not.
    std::vector<std::string> subkeys(std::string_view path) const;
    std::vector<std::string> paths() const;

private:
    std::map<std::string, RegistryKey> m_keys;  // by lower-case path
};

// A key path is valid when it is non-empty, its components are non-empty and it holds no
// control characters (they have no spelling in the file).
bool validKeyPath(std::string_view path);
// Value text holds no control characters other than tab.
bool validValueText(std::string_view text);

}  // namespace comrt::internal
