#include "select_preferred_unit_dialog.h"

#include "engine_error.h"
#include "resource_ids.h"

#include <kestrum/ui/list_box.h>

CSelectPreferredUnitDlg::CSelectPreferredUnitDlg(MorvaneEngine& engine, const QString& quantity, QWidget* pParent)
    : CDialog(IDD_SELECT_PREFERRED_UNIT, pParent), m_engine(engine), m_sQuantity(quantity) {}

bool CSelectPreferredUnitDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    auto* list = DlgItem<CListBox>(IDC_PREFERRED_UNIT_LIST);
    list->ResetContent();
    QStringList units;
    if (FAILED(m_engine.Quantity_Unit_Set(m_sQuantity, units))) ShowEngineError(m_engine.morvane());
    for (const QString& unit : units) list->AddString(unit);
    return true;
}

void CSelectPreferredUnitDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_LBStringExact(pDX, IDC_PREFERRED_UNIT_LIST, m_sUnit);
}

bool CSelectPreferredUnitDlg::OnCommand(int nID, int nCode) {
    // A double-click chooses the unit, as OK does.
    if (nID == IDC_PREFERRED_UNIT_LIST && nCode == LBN_DBLCLK) {
        OnOK();
        return true;
    }
    return CDialog::OnCommand(nID, nCode);
}
