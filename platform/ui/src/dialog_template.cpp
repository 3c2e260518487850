#include <kestrum/ui/dialog_template.h>

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

ControlTemplate LTEXT(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::Static, text, id, x, y, cx, cy, SS_LEFT | WS_GROUP | style);
}

ControlTemplate RTEXT(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::Static, text, id, x, y, cx, cy, SS_RIGHT | WS_GROUP | style);
}

ControlTemplate CTEXT(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::Static, text, id, x, y, cx, cy, SS_CENTER | WS_GROUP | style);
}

ControlTemplate ICON(int iconId, int id, int x, int y, std::uint32_t style) {
    // Icons keep their own size (the platform's 32 x 32 pixels); the template gives no size.
    ControlTemplate c = make(ControlClass::Static, {}, id, x, y, 0, 0, SS_ICON | style);
    c.resourceId = iconId;
    return c;
}

ControlTemplate EDITTEXT(int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::Edit, {}, id, x, y, cx, cy, ES_LEFT | WS_BORDER | WS_TABSTOP | style);
}

ControlTemplate PUSHBUTTON(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::Button, text, id, x, y, cx, cy, BS_PUSHBUTTON | WS_TABSTOP | style);
}

ControlTemplate DEFPUSHBUTTON(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::Button, text, id, x, y, cx, cy, BS_DEFPUSHBUTTON | WS_TABSTOP | style);
}

ControlTemplate AUTOCHECKBOX(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::Button, text, id, x, y, cx, cy, BS_AUTOCHECKBOX | WS_TABSTOP | style);
}

ControlTemplate AUTORADIOBUTTON(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::Button, text, id, x, y, cx, cy, BS_AUTORADIOBUTTON | style);
}

ControlTemplate GROUPBOX(const QString& text, int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::Button, text, id, x, y, cx, cy, BS_GROUPBOX | style);
}

ControlTemplate LISTBOX(int id, int x, int y, int cx, int cy, std::uint32_t style) {
    return make(ControlClass::ListBox, {}, id, x, y, cx, cy, LBS_NOTIFY | WS_BORDER | style);
}

ControlTemplate CONTROL(const QString& text, int id, ControlClass cls, std::uint32_t style, int x, int y, int cx, int cy) {
    return make(cls, text, id, x, y, cx, cy, style);
}

}  // namespace kestrum::ui
