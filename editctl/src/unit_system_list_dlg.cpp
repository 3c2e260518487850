// The "Unit Systems" pick list behind CDimsafeEdit::ChangeCurrentUnitSystem.
#include "library_module.h"

#include <kestrum/editctl/unit_system_list_dlg.h>
#include <kestrum/ui/list_box.h>

using namespace kestrum::editctl;

class CUnitSystemListDlgPrivate {
public:
    CStringArray m_arrUnitSystems;
    CListBox m_lbUnitSystems;
    CString m_sUnitSystem;
};

CUnitSystemListDlg::CUnitSystemListDlg(QWidget* pParent)
    : CDialog(IDD_UNIT_SYSTEM_LIST, pParent), d(std::make_unique<CUnitSystemListDlgPrivate>()) {}

CUnitSystemListDlg::~CUnitSystemListDlg() = default;

void CUnitSystemListDlg::SetUnitSystems(const CStringArray& unitSystems) { d->m_arrUnitSystems = unitSystems; }

void CUnitSystemListDlg::SetUnitSystem(const CString& sUnitSystem) { d->m_sUnitSystem = sUnitSystem; }

CString CUnitSystemListDlg::GetUnitSystem() const { return d->m_sUnitSystem; }

void CUnitSystemListDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UNIT_SYSTEM_LIST, d->m_lbUnitSystems);
    DDX_LBStringExact(pDX, IDC_UNIT_SYSTEM_LIST, d->m_sUnitSystem);
}

bool CUnitSystemListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const QString& system : d->m_arrUnitSystems) d->m_lbUnitSystems.AddString(system);
    // The whole name, ignoring case: "SI" must not select a system that merely begins with it.
    const int index = d->m_lbUnitSystems.FindStringExact(-1, d->m_sUnitSystem);
    if (index != LB_ERR) d->m_lbUnitSystems.SetCurSel(index);
    return true;
}
