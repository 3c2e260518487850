#include "control_factory.h"

#include <kestrum/ui/edit.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/list_ctrl.h>
#include <kestrum/ui/resources.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace kestrum::ui {
namespace {

// The platform draws icons in statics at its standard icon size.
constexpr int kIconSize = 32;

std::uint32_t buttonType(const ControlTemplate& c) { return c.style & BS_TYPEMASK; }

bool isIcon(const ControlTemplate& c) { return c.cls == ControlClass::Static && (c.style & SS_TYPEMASK) == SS_ICON; }

void applyStatic(QLabel* label, const ControlTemplate& c) {
    if (isIcon(c)) {
        label->setPixmap(findIcon(c.resourceId).pixmap(kIconSize, kIconSize));
        return;
    }
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    Qt::Alignment horizontal = Qt::AlignLeft;
    if ((c.style & SS_TYPEMASK) == SS_RIGHT) horizontal = Qt::AlignRight;
    if ((c.style & SS_TYPEMASK) == SS_CENTER) horizontal = Qt::AlignHCenter;
    label->setAlignment(horizontal | Qt::AlignTop);
    if (c.style & SS_SUNKEN) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setText(c.text);
}

void applyEdit(CEdit* edit, const ControlTemplate& c) {
    edit->setFrame(c.style & WS_BORDER);
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (c.style & ES_RIGHT) horizontal = Qt::AlignRight;
    else if (c.style & ES_CENTER) horizontal = Qt::AlignHCenter;
    edit->setAlignment(horizontal | Qt::AlignVCenter);
    edit->setReadOnly(c.style & ES_READONLY);
    edit->setEchoMode((c.style & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal);
    if (!c.text.isEmpty()) edit->setText(c.text);
}

void applyButton(QWidget* widget, const ControlTemplate& c) {
    if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        box->setTitle(c.text);
        box->lower();  // drawn behind the controls it frames
        return;
    }
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (!button) return;
    button->setText(c.text);
    if (auto* push = qobject_cast<QPushButton*>(button)) push->setDefault(buttonType(c) == BS_DEFPUSHBUTTON);
}

bool takesFocus(const ControlTemplate& c) {
    if (c.cls == ControlClass::Static) return false;
    return !(c.cls == ControlClass::Button && buttonType(c) == BS_GROUPBOX);
}

}  // namespace

QWidget* createControl(const ControlTemplate& c, QWidget* parent) {
    switch (c.cls) {
        case ControlClass::Edit: return new CEdit(parent);
        case ControlClass::ListBox: return new CListBox(parent);
        case ControlClass::ListView: return new CListCtrl(parent);
        case ControlClass::Static: return new QLabel(parent);
        case ControlClass::Button:
            switch (buttonType(c)) {
                case BS_GROUPBOX: return new QGroupBox(parent);
                case BS_CHECKBOX:
                case BS_AUTOCHECKBOX: return new QCheckBox(parent);
                case BS_RADIOBUTTON:
                case BS_AUTORADIOBUTTON: return new QRadioButton(parent);
                default: return new QPushButton(parent);
            }
    }
    return new QWidget(parent);
}

void applyTemplate(QWidget* widget, const ControlTemplate& c, DialogBaseUnits base) {
    widget->setProperty(kControlIdProperty, c.id);
    QRect rect = mapDialogRect(QRect(c.x, c.y, c.cx, c.cy), base);
    if (isIcon(c)) rect.setSize({kIconSize, kIconSize});
    widget->setGeometry(rect);
    widget->setEnabled(!(c.style & WS_DISABLED));
    if (takesFocus(c)) widget->setFocusPolicy((c.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    else widget->setFocusPolicy(Qt::NoFocus);

    if (auto* label = qobject_cast<QLabel*>(widget)) applyStatic(label, c);
    else if (auto* edit = qobject_cast<CEdit*>(widget)) applyEdit(edit, c);
    else if (auto* list = qobject_cast<CListBox*>(widget)) {
        list->SetSorted(c.style & LBS_SORT);
        list->SetIntegralHeight(!(c.style & LBS_NOINTEGRALHEIGHT));
    }
    else if (auto* view = qobject_cast<CListCtrl*>(widget)) view->SetSingleSelection(c.style & LVS_SINGLESEL);
    else if (c.cls == ControlClass::Button) applyButton(widget, c);
}

}  // namespace kestrum::ui
