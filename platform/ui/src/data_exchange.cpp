#include <kestrum/ui/data_exchange.h>

#include "exchange_stop.h"

#include <kestrum/ui/dialog_items.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/message_box.h>
#include <kestrum/ui/number_text.h>

#include <QAbstractButton>
#include <QLineEdit>

namespace kestrum::ui {
const char* const kEnterNumberMessage = "Please enter a number.";
const char* const kEnterIntegerMessage = "Please enter an integer.";
}  // namespace kestrum::ui

using kestrum::ui::windowText;
using kestrum::ui::setWindowText;

CDataExchange::CDataExchange(kestrum::ui::DialogItems* pDlgWnd, bool bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

QWidget* CDataExchange::PrepareCtrl(int nIDC) {
    QWidget* control = m_pDlgWnd->GetDlgItem(nIDC);
    if (!control) qWarning("Data exchange: the dialog has no control %d", nIDC);
    m_lastControl = control;
    m_bEditLastControl = false;
    return control;
}

QWidget* CDataExchange::PrepareEditCtrl(int nIDC) {
    QWidget* control = PrepareCtrl(nIDC);
    m_bEditLastControl = qobject_cast<QLineEdit*>(control) != nullptr;
    return control;
}

void CDataExchange::Fail() {
    if (m_lastControl) {
        m_pDlgWnd->GotoDlgCtrl(m_lastControl);
        if (!m_bEditLastControl) m_lastControl->setFocus(Qt::OtherFocusReason);
    }
    throw kestrum::ui::ExchangeStop{};
}

namespace {

void refuse(CDataExchange* pDX, const QString& message) {
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <class Find>
void exchangeListString(CDataExchange* pDX, int nIDC, QString& value, Find find) {
    auto* list = qobject_cast<CListBox*>(pDX->PrepareCtrl(nIDC));
    if (!list) return;
    if (pDX->m_bSaveAndValidate) {
        const int index = list->GetCurSel();
        value = index == LB_ERR ? QString() : list->GetText(index);
    } else if (value.isEmpty()) {
        list->SetCurSel(-1);
    } else {
        const int index = find(*list, value);
        if (index != LB_ERR) list->SetCurSel(index);
    }
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, QString& value) {
    QWidget* control = pDX->PrepareEditCtrl(nIDC);
    if (!control) return;
    if (pDX->m_bSaveAndValidate) value = windowText(control);
    else setWindowText(control, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    QWidget* control = pDX->PrepareEditCtrl(nIDC);
    if (!control) return;
    if (!pDX->m_bSaveAndValidate) {
        setWindowText(control, kestrum::ui::formatDouble(value, 15));
        return;
    }
    const std::optional<double> number = kestrum::ui::parseDouble(windowText(control));
    if (!number) refuse(pDX, QString::fromLatin1(kestrum::ui::kEnterNumberMessage));
    value = *number;
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    QWidget* control = pDX->PrepareEditCtrl(nIDC);
    if (!control) return;
    if (!pDX->m_bSaveAndValidate) {
        setWindowText(control, QString::number(value));
        return;
    }
    const std::optional<int> number = kestrum::ui::parseInt(windowText(control));
    if (!number) refuse(pDX, QString::fromLatin1(kestrum::ui::kEnterIntegerMessage));
    value = *number;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    if (!pDX->PrepareCtrl(nIDC)) return;
    if (pDX->m_bSaveAndValidate) value = pDX->m_pDlgWnd->IsDlgButtonChecked(nIDC);
    else pDX->m_pDlgWnd->CheckDlgButton(nIDC, value);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    if (!pDX->PrepareCtrl(nIDC)) return;
    const kestrum::ui::DialogTemplate* dialog = pDX->m_pDlgWnd->dialogTemplate();
    if (!dialog) return;
    std::vector<int> group;
    bool inGroup = false;
    for (const kestrum::ui::ControlTemplate& c : dialog->controls) {
        const std::uint32_t type = c.style & BS_TYPEMASK;
        const bool radio = c.cls == kestrum::ui::ControlClass::Button && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
        if (c.id == nIDC) inGroup = true;
        else if (inGroup && (!radio || (c.style & WS_GROUP))) break;
        if (inGroup && radio) group.push_back(c.id);
    }
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (pDX->m_pDlgWnd->IsDlgButtonChecked(group[i]) == BST_CHECKED) value = int(i);
    } else {
        for (std::size_t i = 0; i < group.size(); ++i)
            pDX->m_pDlgWnd->CheckDlgButton(group[i], int(i) == value ? BST_CHECKED : BST_UNCHECKED);
    }
}

void DDX_LBString(CDataExchange* pDX, int nIDC, QString& value) {
    exchangeListString(pDX, nIDC, value, [](const CListBox& list, const QString& text) { return list.FindString(-1, text); });
}

void DDX_LBStringExact(CDataExchange* pDX, int nIDC, QString& value) {
    exchangeListString(pDX, nIDC, value, [](const CListBox& list, const QString& text) { return list.FindStringExact(-1, text); });
}

void DDX_Control(CDataExchange* pDX, int nIDC, QWidget& rControl) {
    pDX->m_pDlgWnd->attachControl(nIDC, rControl);
    pDX->PrepareCtrl(nIDC);
}

void DDV_MaxChars(CDataExchange* pDX, const QString& value, int nChars) {
    if (!pDX->m_bSaveAndValidate) {
        if (auto* edit = qobject_cast<QLineEdit*>(pDX->lastControl())) edit->setMaxLength(nChars);
        return;
    }
    if (value.size() > nChars)
        refuse(pDX, QStringLiteral("Please enter no more than %1 characters.").arg(nChars));
}
