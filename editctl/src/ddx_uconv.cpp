// DDX_UCONV: a control's value between the host's variable (storage unit system) and the
// control's text (current unit system).
#include "control_string.h"
#include "dimsafe_edit_p.h"
#include "quantity_text.h"

#include <kestrum/editctl/shared_converter.h>
#include <kestrum/ui/data_exchange.h>
#include <kestrum/ui/resources.h>

void DDX_UCONV(CDataExchange* pDX, int nIDC, CDimsafeEdit& rControl) {
    DDX_Control(pDX, nIDC, rControl);
    CDimsafeEditPrivate& d = CDimsafeEditPrivate::of(rControl);
    if (d.m_bFirstExchange) {
        // The host's string table, not the library's (which has none), holds "Length 2".
        QString entry;
        AfxLoadString(nIDC, entry);
        const kestrum::editctl::ControlString setup = kestrum::editctl::parseControlString(entry);
        d.m_sQuantity = setup.quantity;
        if (setup.precision > 0) d.m_nPrecision = setup.precision;
        d.m_bFirstExchange = false;
    }

    // While the control has the focus its text is the plain number being edited, which leaving
    // the control would read: a save takes it as it stands (Enter on a dialog's default button
    // does not move the focus), and a load writes the plain number, never the decorated text.
    const bool editing = rControl.hasFocus();
    if (pDX->m_bSaveAndValidate) {
        if (editing) d.takeText(rControl);
        if (d.m_dEditValue != d.m_dShownValue) {
            d.m_dValue = d.m_dEditValue == CDimsafeEdit::m_dUNDEF
                             ? CDimsafeEdit::m_dUNDEF
                             : kestrum::editctl::ConvertValue(d.m_sQuantity, d.m_dEditValue, false);
            d.m_dShownValue = d.m_dEditValue;
        }
        return;
    }

    if (d.m_dValue == CDimsafeEdit::m_dUNDEF) {
        d.m_dShownValue = d.m_dEditValue = CDimsafeEdit::m_dUNDEF;
        // No value shows no number: a number left over from before would be read back as the
        // user's the next time the focus leaves.
        rControl.SetWindowText(QString());
        return;
    }
    d.m_dShownValue = kestrum::editctl::RoundValue(kestrum::editctl::ConvertValue(d.m_sQuantity, d.m_dValue, true), d.m_nPrecision);
    d.m_dEditValue = d.m_dShownValue;
    kestrum::editctl::UpdateText(&rControl, !editing);
}
