// The library's start and end in a process, and its dialog templates.
#include "library_module.h"

#include <kestrum/ui/dialog_template.h>

#include <cstdio>

namespace kestrum::editctl {
namespace {

using namespace kestrum::ui;

DialogTemplate unitListTemplate() {
    return DialogTemplate{
        .id = IDD_UNIT_LIST,
        .caption = QStringLiteral("Units"),
        .cx = 98,
        .cy = 126,
        .style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER,
        .controls = {LTEXT(QStringLiteral("Value"), IDC_STATIC, 7, 7, 84, 8),
                     EDITTEXT(IDC_UNIT_VALUE, 7, 15, 84, 14, ES_AUTOHSCROLL),
                     LTEXT(QStringLiteral("Units"), IDC_STATIC, 7, 35, 84, 8),
                     LISTBOX(IDC_UNIT_LIST, 7, 43, 84, 76,
                             LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP)}};
}

DialogTemplate unitSystemListTemplate() {
    return DialogTemplate{
        .id = IDD_UNIT_SYSTEM_LIST,
        .caption = QStringLiteral("Unit Systems"),
        .cx = 142,
        .cy = 92,
        .style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        .controls = {LTEXT(QStringLiteral("Unit Systems"), IDC_STATIC, 7, 7, 71, 8),
                     LISTBOX(IDC_UNIT_SYSTEM_LIST, 7, 15, 71, 70,
                             LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP),
                     DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 85, 7, 50, 14),
                     PUSHBUTTON(QStringLiteral("Cancel"), IDCANCEL, 85, 24, 50, 14)}};
}

// Made when the library is loaded, before the host's own code runs, and destroyed when it is
// unloaded; the two trace lines mark both moments.
class LibraryModule {
public:
    LibraryModule() : m_resources(QStringLiteral("DimsafeEditCtl")) {
        std::fputs("DIMSAFEEDITCTL.DLL Initializing!\n", stderr);
        m_resources.addDialog(unitListTemplate());
        m_resources.addDialog(unitSystemListTemplate());
        AfxInitExtensionModule(&m_resources);
    }
    ~LibraryModule() {
        std::fputs("DIMSAFEEDITCTL.DLL Terminating!\n", stderr);
        AfxTermExtensionModule(&m_resources);
    }
    LibraryModule(const LibraryModule&) = delete;
    LibraryModule& operator=(const LibraryModule&) = delete;

    ResourceModule& resources() { return m_resources; }

private:
    ResourceModule m_resources;
};

LibraryModule g_library;

}  // namespace

ResourceModule& libraryModule() { return g_library.resources(); }

}  // namespace kestrum::editctl
