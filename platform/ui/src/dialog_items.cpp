#include <kestrum/ui/dialog_items.h>

#include "control_factory.h"
#include "exchange_stop.h"

#include <kestrum/ui/data_exchange.h>
#include <kestrum/ui/edit.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/message_window.h>
#include <kestrum/ui/resources.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kestrum::ui {
namespace {

bool isRadio(const ControlTemplate& c) {
    const std::uint32_t type = c.style & BS_TYPEMASK;
    return c.cls == ControlClass::Button && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

}  // namespace

QString windowText(const QWidget* control) {
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
    if (auto* box = qobject_cast<const QGroupBox*>(control)) return box->title();
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
    return control ? control->windowTitle() : QString();
}

void setWindowText(QWidget* control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control)) label->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(control)) box->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(text);
    else if (control) control->setWindowTitle(text);
}

DialogItems::DialogItems(QWidget* self, int nIDTemplate) : m_self(self), m_nIDTemplate(nIDTemplate) {}

DialogItems::~DialogItems() {
    for (const QMetaObject::Connection& connection : m_notifications) QObject::disconnect(connection);
}

const DialogTemplate* DialogItems::dialogTemplate() const {
    return m_template ? &*m_template : findDialog(m_nIDTemplate);
}

void DialogItems::DoDataExchange(CDataExchange* pDX) { Q_UNUSED(pDX); }

bool DialogItems::createControls() {
    if (m_template) return true;
    const DialogTemplate* found = findDialog(m_nIDTemplate);
    if (!found) {
        qWarning("No dialog template %d along the resource modules", m_nIDTemplate);
        return false;
    }
    m_template = *found;
    const QFont font = templateFont(m_template->fontFace, m_template->pointSize);
    m_self->setFont(font);
    m_units = kestrum::ui::baseUnits(font);

    QButtonGroup* radios = nullptr;
    std::vector<QWidget*> made;
    for (const ControlTemplate& c : m_template->controls) {
        QWidget* control = createControl(c, m_self);
        applyTemplate(control, c, m_units);
        if (!isRadio(c) || (c.style & WS_GROUP)) radios = nullptr;
        if (isRadio(c)) {
            if (!radios) radios = new QButtonGroup(m_self);
            radios->addButton(static_cast<QAbstractButton*>(control));
        }
        if (c.id != IDC_STATIC && !m_items.count(c.id)) m_items[c.id] = control;
        wire(control, c);
        // Shown explicitly: a page makes its controls when it is first shown, and Qt leaves a
        // child made in an already visible widget hidden.
        control->show();
        made.push_back(control);
    }
    // A static's mnemonic moves the focus to the next control that is a tab stop.
    for (std::size_t i = 0; i < made.size(); ++i) {
        auto* label = qobject_cast<QLabel*>(made[i]);
        if (!label || !m_template->controls[i].text.contains(u'&')) continue;
        for (std::size_t j = i + 1; j < made.size(); ++j) {
            if (m_template->controls[j].style & WS_TABSTOP) {
                label->setBuddy(made[j]);
                break;
            }
        }
    }
    return true;
}

void DialogItems::notify(int nID, int nCode) { SendMessage(m_self, WM_COMMAND, commandParam(nID, nCode), 0); }

void DialogItems::wire(QWidget* control, const ControlTemplate& c) {
    const int id = c.id;
    auto& n = m_notifications;
    if (auto* edit = qobject_cast<CEdit*>(control)) {
        n.push_back(QObject::connect(edit, &CEdit::changed, m_self, [this, id] { notify(id, EN_CHANGE); }));
        n.push_back(QObject::connect(edit, &CEdit::focusGained, m_self, [this, id] { notify(id, EN_SETFOCUS); }));
        n.push_back(QObject::connect(edit, &CEdit::focusLost, m_self, [this, id] { notify(id, EN_KILLFOCUS); }));
    } else if (auto* list = qobject_cast<CListBox*>(control)) {
        if (!(c.style & LBS_NOTIFY)) return;
        n.push_back(QObject::connect(list, &CListBox::selChange, m_self, [this, id] { notify(id, LBN_SELCHANGE); }));
        n.push_back(QObject::connect(list, &CListBox::dblClk, m_self, [this, id] { notify(id, LBN_DBLCLK); }));
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        n.push_back(QObject::connect(button, &QAbstractButton::clicked, m_self, [this, id] { notify(id, BN_CLICKED); }));
    }
}

void DialogItems::attachControl(int nID, QWidget& control) {
    QWidget* placeholder = GetDlgItem(nID);
    if (placeholder == &control) return;
    const ControlTemplate* c = m_template ? m_template->control(nID) : nullptr;
    if (!placeholder || !c) {
        qWarning("DDX_Control: the dialog has no control %d", nID);
        return;
    }
    control.setParent(m_self);
    applyTemplate(&control, *c, m_units);
    setWindowText(&control, windowText(placeholder));
    QWidget::setTabOrder(placeholder, &control);
    control.stackUnder(placeholder);
    for (QLabel* label : m_self->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->buddy() == placeholder) label->setBuddy(&control);
    auto* oldButton = qobject_cast<QAbstractButton*>(placeholder);
    auto* newButton = qobject_cast<QAbstractButton*>(&control);
    if (oldButton && newButton && oldButton->group()) oldButton->group()->addButton(newButton);
    m_items[nID] = &control;
    wire(&control, *c);
    control.setVisible(!placeholder->isHidden());
    delete placeholder;
}

QWidget* DialogItems::GetDlgItem(int nID) const {
    auto it = m_items.find(nID);
    return it == m_items.end() ? nullptr : it->second.data();
}

QString DialogItems::GetDlgItemText(int nID) const { return windowText(GetDlgItem(nID)); }

void DialogItems::SetDlgItemText(int nID, const QString& text) {
    if (QWidget* control = GetDlgItem(nID)) setWindowText(control, text);
}

int DialogItems::IsDlgButtonChecked(int nIDButton) const {
    if (auto* box = qobject_cast<QCheckBox*>(GetDlgItem(nIDButton))) {
        const Qt::CheckState state = box->checkState();
        return state == Qt::Checked ? BST_CHECKED : state == Qt::PartiallyChecked ? BST_INDETERMINATE : BST_UNCHECKED;
    }
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(nIDButton));
    return button && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void DialogItems::CheckDlgButton(int nIDButton, int nCheck) {
    QWidget* control = GetDlgItem(nIDButton);
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        if (nCheck == BST_INDETERMINATE) box->setTristate(true);
        box->setCheckState(nCheck == BST_CHECKED ? Qt::Checked
                           : nCheck == BST_INDETERMINATE ? Qt::PartiallyChecked : Qt::Unchecked);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        // An exclusive group refuses to uncheck its checked button; the platform does not.
        QButtonGroup* group = button->group();
        const bool exclusive = group && group->exclusive();
        if (exclusive && nCheck != BST_CHECKED) group->setExclusive(false);
        button->setChecked(nCheck == BST_CHECKED);
        if (exclusive && nCheck != BST_CHECKED) group->setExclusive(true);
    }
}

void DialogItems::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (id != nIDCheckButton) CheckDlgButton(id, BST_UNCHECKED);
    CheckDlgButton(nIDCheckButton, BST_CHECKED);
}

void DialogItems::GotoDlgCtrl(QWidget* pWndCtrl) {
    if (!pWndCtrl) return;
    pWndCtrl->setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(pWndCtrl)) edit->selectAll();
}

QPushButton* DialogItems::templateDefaultButton() const {
    if (!m_template) return nullptr;
    for (const ControlTemplate& c : m_template->controls)
        if (c.cls == ControlClass::Button && (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return qobject_cast<QPushButton*>(GetDlgItem(c.id));
    return nullptr;
}

bool DialogItems::UpdateData(bool bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const ExchangeStop&) {
        return false;
    }
    return true;
}

}  // namespace kestrum::ui

int GetDlgCtrlID(const QWidget* control) {
    return control ? control->property(kestrum::ui::kControlIdProperty).toInt() : 0;
}
