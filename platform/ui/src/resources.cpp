#include <kestrum/ui/resources.h>

#include <algorithm>
#include <vector>

namespace kestrum::ui {
namespace {

// Never destroyed: library modules unlink themselves from their own static destructors, which
// may run after this library's statics would have been destroyed.
struct Chain {
    ResourceModule* current = nullptr;
    std::vector<ResourceModule*> extensions;
};

Chain& chain() {
    static Chain* const instance = new Chain;
    return *instance;
}

// Current handle, then the program's module, then the extensions, each visited once.
template <class Lookup>
auto findAlong(Lookup lookup) -> decltype(lookup(std::declval<const ResourceModule&>())) {
    std::vector<const ResourceModule*> order{AfxGetResourceHandle(), &ResourceModule::application()};
    order.insert(order.end(), chain().extensions.begin(), chain().extensions.end());
    std::vector<const ResourceModule*> visited;
    for (const ResourceModule* module : order) {
        if (std::find(visited.begin(), visited.end(), module) != visited.end()) continue;
        visited.push_back(module);
        if (auto* found = lookup(*module)) return found;
    }
    return nullptr;
}

template <class Map>
auto* findIn(const Map& map, int id) {
    auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}

}  // namespace

ResourceModule::ResourceModule(QString name) : m_name(std::move(name)) {}

ResourceModule::~ResourceModule() {
    auto& extensions = chain().extensions;
    extensions.erase(std::remove(extensions.begin(), extensions.end(), this), extensions.end());
    if (chain().current == this) chain().current = nullptr;
}

ResourceModule& ResourceModule::application() {
    static ResourceModule* const module = new ResourceModule(QStringLiteral("application"));
    return *module;
}

void ResourceModule::addString(int id, const QString& text) { m_strings[id] = text; }
void ResourceModule::addDialog(const DialogTemplate& dialog) { m_dialogs[dialog.id] = dialog; }
void ResourceModule::addMenu(int id, const MenuTemplate& menu) { m_menus[id] = menu; }
void ResourceModule::addIcon(int id, const QIcon& icon) { m_icons[id] = icon; }

const QString* ResourceModule::string(int id) const { return findIn(m_strings, id); }
const DialogTemplate* ResourceModule::dialog(int id) const { return findIn(m_dialogs, id); }
const MenuTemplate* ResourceModule::menu(int id) const { return findIn(m_menus, id); }
const QIcon* ResourceModule::icon(int id) const { return findIn(m_icons, id); }

const DialogTemplate* findDialog(int id) {
    return findAlong([id](const ResourceModule& m) { return m.dialog(id); });
}

const MenuTemplate* findMenu(int id) {
    return findAlong([id](const ResourceModule& m) { return m.menu(id); });
}

QIcon findIcon(int id) {
    const QIcon* icon = findAlong([id](const ResourceModule& m) { return m.icon(id); });
    return icon ? *icon : QIcon();
}

ResourceScope::ResourceScope(ResourceModule* module) : m_saved(AfxGetResourceHandle()) {
    AfxSetResourceHandle(module);
}

ResourceScope::~ResourceScope() { AfxSetResourceHandle(m_saved); }

}  // namespace kestrum::ui

using kestrum::ui::ResourceModule;

HINSTANCE AfxGetResourceHandle() {
    ResourceModule* current = kestrum::ui::chain().current;
    return current ? current : &ResourceModule::application();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) { kestrum::ui::chain().current = hInstResource; }

HINSTANCE AfxGetInstanceHandle() { return &ResourceModule::application(); }

void AfxInitExtensionModule(HINSTANCE hModule) {
    auto& extensions = kestrum::ui::chain().extensions;
    if (hModule && std::find(extensions.begin(), extensions.end(), hModule) == extensions.end())
        extensions.push_back(hModule);
}

void AfxTermExtensionModule(HINSTANCE hModule) {
    auto& extensions = kestrum::ui::chain().extensions;
    extensions.erase(std::remove(extensions.begin(), extensions.end(), hModule), extensions.end());
}

bool AfxLoadString(int nID, QString& rString) {
    const QString* text = kestrum::ui::findAlong([nID](const ResourceModule& m) { return m.string(nID); });
    rString = text ? *text : QString();
    return text != nullptr;
}
