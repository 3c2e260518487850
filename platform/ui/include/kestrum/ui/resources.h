// Resource modules: the string tables, dialog templates, menus and icons of one program or
// library, found by identifier.
//
// A lookup searches the current resource handle first (AfxGetResourceHandle), then the
// program's own module, then every linked extension module in the order they were linked. A
// library that runs its own dialogs links its module at load time (AfxInitExtensionModule) and
// makes it the resource handle for the duration of the dialog (ResourceScope), so its
// templates win while the host's string table is still found for the host's identifiers.
//
// GUI thread only.
#pragma once

#include <kestrum/ui/dialog_template.h>
#include <kestrum/ui/export.h>
#include <kestrum/ui/menu.h>

#include <QIcon>
#include <QString>

#include <map>

namespace kestrum::ui {

class KESTRUM_UI_API ResourceModule {
public:
    explicit ResourceModule(QString name);
    ~ResourceModule();  // unlinks the module and stops being the resource handle
    Q_DISABLE_COPY(ResourceModule)

    // The program's own resources: the default resource handle.
    static ResourceModule& application();

    const QString& name() const { return m_name; }

    void addString(int id, const QString& text);
    void addDialog(const DialogTemplate& dialog);
    void addMenu(int id, const MenuTemplate& menu);
    void addIcon(int id, const QIcon& icon);

    const QString* string(int id) const;
    const DialogTemplate* dialog(int id) const;
    const MenuTemplate* menu(int id) const;
    const QIcon* icon(int id) const;

private:
    QString m_name;
    std::map<int, QString> m_strings;
    std::map<int, DialogTemplate> m_dialogs;
    std::map<int, MenuTemplate> m_menus;
    std::map<int, QIcon> m_icons;
};

// The first template, menu or icon with this identifier along the lookup order above.
KESTRUM_UI_API const DialogTemplate* findDialog(int id);
KESTRUM_UI_API const MenuTemplate* findMenu(int id);
KESTRUM_UI_API QIcon findIcon(int id);

// Makes a module the resource handle for its lifetime and restores the previous one.
class KESTRUM_UI_API ResourceScope {
public:
    explicit ResourceScope(ResourceModule* module);
    ~ResourceScope();
    Q_DISABLE_COPY(ResourceScope)

private:
    ResourceModule* m_saved;
};

}  // namespace kestrum::ui

using HINSTANCE = kestrum::ui::ResourceModule*;

KESTRUM_UI_API HINSTANCE AfxGetResourceHandle();
KESTRUM_UI_API void AfxSetResourceHandle(HINSTANCE hInstResource);
KESTRUM_UI_API HINSTANCE AfxGetInstanceHandle();

// Links a library's module into the lookup chain (after the modules linked before it) and
// unlinks it again.
KESTRUM_UI_API void AfxInitExtensionModule(HINSTANCE hModule);
KESTRUM_UI_API void AfxTermExtensionModule(HINSTANCE hModule);

// Sets rString to the string with this identifier (along the lookup order), or empties it.
// Returns whether the string was found.
KESTRUM_UI_API bool AfxLoadString(int nID, QString& rString);
