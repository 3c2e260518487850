#include "exact_number.h"

#include <kestrum/ui/dialog_items.h>
#include <kestrum/ui/message_box.h>
#include <kestrum/ui/number_text.h>

void ExactNumber::Set(double value) {
    m_original = value;
    m_value = value;
    m_shown = kestrum::ui::formatShortest(value);
    m_edited = false;
}

void ExactNumber::SetUnknown() {
    m_original = 0;
    m_value = 0;
    m_shown.clear();
    m_edited = false;
}

QString ExactNumber::Text() const { return m_edited ? kestrum::ui::formatShortest(m_value) : m_shown; }

bool ExactNumber::Take(const QString& text) {
    if (text == m_shown) {
        m_value = m_original;
        m_edited = false;
        return true;
    }
    const std::optional<double> number = kestrum::ui::parseDouble(text);
    if (!number) return false;
    m_value = *number;
    m_edited = true;
    return true;
}

void DDX_ExactNumber(CDataExchange* pDX, int nIDC, ExactNumber& number) {
    QWidget* control = pDX->PrepareEditCtrl(nIDC);
    if (!control) return;
    if (!pDX->m_bSaveAndValidate) {
        kestrum::ui::setWindowText(control, number.Text());
        return;
    }
    if (!number.Take(kestrum::ui::windowText(control))) {
        AfxMessageBox(QString::fromLatin1(kestrum::ui::kEnterNumberMessage), MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}
