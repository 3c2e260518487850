// The library's start and end in a process, and its dialog templates.
#include "library_module.h"

#include <kestrum/ui/dialog_template.h>

#include <QtGlobal>

#include <cstdio>

namespace kestrum::editctl {
namespace {

using namespace kestrum::ui;

constexpr std::uint32_t kPickList = LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;

// Made when the library is loaded, before the host's own code runs, and destroyed when it is
// unloaded; the two trace lines mark both moments.
class LibraryModule {
public:
    LibraryModule() : m_resources(QStringLiteral("DimsafeEditCtl")) {
        std::fputs("DIMSAFEEDITCTL.DLL Initializing!\n", stderr);
        m_resources.addDialog(DIALOG(IDD_UNIT_LIST, 98, 126, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER,
                                     QStringLiteral("Units"),
                                     {LTEXT(QStringLiteral("Value"), IDC_STATIC, 7, 7, 84, 8),
                                      EDITTEXT(IDC_UNIT_VALUE, 7, 15, 84, 14, ES_AUTOHSCROLL),
                                      LTEXT(QStringLiteral("Units"), IDC_STATIC, 7, 35, 84, 8),
                                      LISTBOX(IDC_UNIT_LIST, 7, 43, 84, 76, kPickList)}));
        m_resources.addDialog(DIALOG(IDD_UNIT_SYSTEM_LIST, 142, 92, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                     QStringLiteral("Unit Systems"),
                                     {LTEXT(QStringLiteral("Unit Systems"), IDC_STATIC, 7, 7, 71, 8),
                                      LISTBOX(IDC_UNIT_SYSTEM_LIST, 7, 15, 71, 70, kPickList),
                                      DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 85, 7, 50, 14),
                                      PUSHBUTTON(QStringLiteral("Cancel"), IDCANCEL, 85, 24, 50, 14)}));
        AfxInitExtensionModule(&m_resources);
    }
    ~LibraryModule() {
        std::fputs("DIMSAFEEDITCTL.DLL Terminating!\n", stderr);
        AfxTermExtensionModule(&m_resources);
    }
    Q_DISABLE_COPY(LibraryModule)

    ResourceModule& resources() { return m_resources; }

private:
    ResourceModule m_resources;
};

LibraryModule g_library;

}  // namespace

ResourceModule& libraryModule() { return g_library.resources(); }

}  // namespace kestrum::editctl
