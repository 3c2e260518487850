#include <kestrum/ui/dialog_template.h>

#include <utility>

namespace kestrum::ui {
namespace {

ControlTemplate make(ControlClass cls, const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style) {
    ControlTemplate c;
    c.cls = cls;
    c.text = text;
    c.id = id;
    c.x = x;
    c.y = y;
    c.cx = cx;
    c.cy = cy;
    c.style = style;
    return c;
}

}  // namespace

DialogTemplate DIALOG(int id, int cx, int cy, std::uint32_t style, const QString& caption,
                      std::vector<ControlTemplate> controls) {
    return DialogTemplate{.id = id, .caption = caption, .cx = cx, .cy = cy, .style = style, .controls = std::move(controls)};
}

// The statements with a text differ only in their control class and the styles they add.
#define KESTRUM_TEXT_STATEMENT(NAME, CLASS, DEFAULTS)                                                      \
    ControlTemplate NAME(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style) { \
        return make(ControlClass::CLASS, text, id, x, y, cx, cy, DEFAULTS | style);                        \
    }
KESTRUM_TEXT_STATEMENT(LTEXT, Static, SS_LEFT | WS_GROUP)
KESTRUM_TEXT_STATEMENT(RTEXT, Static, SS_RIGHT | WS_GROUP)
KESTRUM_TEXT_STATEMENT(CTEXT, Static, SS_CENTER | WS_GROUP)
KESTRUM_TEXT_STATEMENT(PUSHBUTTON, Button, BS_PUSHBUTTON | WS_TABSTOP)
KESTRUM_TEXT_STATEMENT(DEFPUSHBUTTON, Button, BS_DEFPUSHBUTTON | WS_TABSTOP)
KESTRUM_TEXT_STATEMENT(AUTOCHECKBOX, Button, BS_AUTOCHECKBOX | WS_TABSTOP)
KESTRUM_TEXT_STATEMENT(AUTORADIOBUTTON, Button, BS_AUTORADIOBUTTON)
KESTRUM_TEXT_STATEMENT(GROUPBOX, Button, BS_GROUPBOX)
#undef KESTRUM_TEXT_STATEMENT

ControlTemplate ICON(int iconId, int id, int x, int y, std::uint32_t style) {
    // Icons keep their own size (the platform's 32 x 32 pixels); the template gives no size.
    ControlTemplate c = make(ControlClass::Static, {}, id, x, y, 0, 0, SS_ICON | style);
    c.resourceId = iconId;
    return c;
}

ControlTemplate EDITTEXT(int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::Edit, {}, id, x, y, cx, cy, ES_LEFT | WS_BORDER | WS_TABSTOP | style);
}

ControlTemplate LISTBOX(int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::ListBox, {}, id, x, y, cx, cy, LBS_NOTIFY | WS_BORDER | style);
}

ControlTemplate CONTROL(const QString& text, int id, ControlClass cls, std::uint32_t style, int x, int y, int cx, int cy) {
    return make(cls, text, id, x, y, cx, cy, style);
}

}  // namespace kestrum::ui
