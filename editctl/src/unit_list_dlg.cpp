// The "Units" pick list: the control's number converted into whichever unit is chosen.
#include "connection.h"
#include "library_module.h"

#include <kestrum/editctl/shared_converter.h>
#include <kestrum/editctl/unit_list_dlg.h>
#include <kestrum/ui/list_box.h>

using namespace kestrum::editctl;

class CUnitListDlgPrivate {
public:
    IMorvane* m_pConverter = nullptr;
    CStringArray m_arrUnits;
    CListBox m_lbUnits;
    double m_dValue;
    CString m_sUnit;
};

CUnitListDlg::CUnitListDlg(double dValue, const CString& sUnit, QWidget* pParent)
    : CDialog(IDD_UNIT_LIST, pParent), d(std::make_unique<CUnitListDlgPrivate>()) {
    d->m_dValue = dValue;
    d->m_sUnit = sUnit;
    MapCommand(IDC_UNIT_LIST, LBN_SELCHANGE, [this] { OnSelchangeUnitList(); });
}

CUnitListDlg::~CUnitListDlg() = default;

void CUnitListDlg::SetUnits(const CStringArray& units) { d->m_arrUnits = units; }

void CUnitListDlg::SetConverter(IMorvane* pConverter) { d->m_pConverter = pConverter; }

double CUnitListDlg::GetValue() const { return d->m_dValue; }

CString CUnitListDlg::GetUnit() const { return d->m_sUnit; }

void CUnitListDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UNIT_LIST, d->m_lbUnits);
    DDX_Text(pDX, IDC_UNIT_VALUE, d->m_dValue);
    DDX_LBString(pDX, IDC_UNIT_LIST, d->m_sUnit);
}

bool CUnitListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const QString& unit : d->m_arrUnits) d->m_lbUnits.AddString(unit);
    // An unknown unit selects nothing: the number would seem to be in the first unit listed.
    if (!d->m_sUnit.isEmpty()) d->m_lbUnits.SelectString(-1, d->m_sUnit);
    return true;
}

void CUnitListDlg::OnSelchangeUnitList() {
    const CString kept = d->m_sUnit;
    // A Value box that does not hold a number has been reported; nothing is converted.
    if (!UpdateData(true)) return;
    double add = 0.0;
    double multiplyBy = 0.0;
    EngineText from(kept);
    EngineText to(d->m_sUnit);
    bool converted = false;
    // A number in no unit (the quantity has no preferred unit in the current system) cannot be
    // converted: the engine takes an empty expression as a factor of 0 and would turn it into 0.
    if (!kept.isEmpty() && d->m_pConverter && checkEngineText(from) && checkEngineText(to)) {
        converted = SUCCEEDED(d->m_pConverter->UnitExpression_Convert(from.get(), to.get(), &add, &multiplyBy));
        if (!converted) ShowEngineError();
    }
    // A failed conversion keeps the number with the unit it is in, selected again.
    if (converted) d->m_dValue = multiplyBy * d->m_dValue + add;
    else d->m_sUnit = kept;
    UpdateData(false);
}
