// Dialog templates: a dialog, property page or its controls described as a resource script
// describes them (identifier, caption, size and control positions in dialog units, styles), so a
// program states its layouts with the identifiers, texts and sizes its dialogs are designed with.
//
//   using namespace kestrum::ui;
//   const DialogTemplate kUnits = DIALOG(7541, 98, 126, DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | DS_CENTER, "Units",
//       {LTEXT("Value", IDC_STATIC, 7, 7, 84, 8),
//        EDITTEXT(7542, 7, 15, 84, 14, ES_AUTOHSCROLL),
//        LISTBOX(7543, 7, 43, 84, 76, LBS_SORT | WS_VSCROLL | WS_TABSTOP)});
//
// Each statement adds its resource-script defaults to the styles given (EDITTEXT is bordered
// and a tab stop, LISTBOX notifies and is bordered, ...). Templates live in a resource module
// (resources.h) and are found by identifier when a dialog is created.
#pragma once

#include <kestrum/ui/constants.h>
#include <kestrum/ui/export.h>

#include <QString>

#include <cstdint>
#include <vector>

namespace kestrum::ui {

enum class ControlClass { Button, Edit, Static, ListBox, ListView };

struct ControlTemplate {
    ControlClass cls = ControlClass::Static;
    QString text;
    int id = IDC_STATIC;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t style = 0;
    int resourceId = 0;  // the icon of an SS_ICON static
};

struct DialogTemplate {
    int id = 0;
    QString caption;
    int cx = 0, cy = 0;
    std::uint32_t style = 0;
    std::vector<ControlTemplate> controls{};
    QString fontFace = QStringLiteral("MS Sans Serif");
    int pointSize = 8;

    const ControlTemplate* control(int controlId) const {
        for (const ControlTemplate& c : controls)
            if (c.id == controlId) return &c;
        return nullptr;
    }
};

// A dialog as a resource script states it: identifier, size, style and caption, then the
// controls; in the default font.
KESTRUM_UI_API DialogTemplate DIALOG(int id, int cx, int cy, std::uint32_t style, const QString& caption,
                                     std::vector<ControlTemplate> controls);

KESTRUM_UI_API ControlTemplate LTEXT(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style = 0);
KESTRUM_UI_API ControlTemplate RTEXT(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style = 0);
KESTRUM_UI_API ControlTemplate CTEXT(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style = 0);
KESTRUM_UI_API ControlTemplate ICON(int iconId, int id, int x, int y, std::uint32_t style = 0);
KESTRUM_UI_API ControlTemplate EDITTEXT(int id, int x, int y, int cx, int cy, std::uint32_t style = 0);
KESTRUM_UI_API ControlTemplate PUSHBUTTON(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style = 0);
KESTRUM_UI_API ControlTemplate DEFPUSHBUTTON(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style = 0);
KESTRUM_UI_API ControlTemplate AUTOCHECKBOX(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style = 0);
KESTRUM_UI_API ControlTemplate AUTORADIOBUTTON(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style = 0);
KESTRUM_UI_API ControlTemplate GROUPBOX(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style = 0);
KESTRUM_UI_API ControlTemplate LISTBOX(int id, int x, int y, int cx, int cy, std::uint32_t style = 0);
// A control by class, with exactly the styles given (the list view is only reachable this way).
KESTRUM_UI_API ControlTemplate CONTROL(const QString& text, int id, ControlClass cls, std::uint32_t style,
                                       int x, int y, int cx, int cy);

}  // namespace kestrum::ui
