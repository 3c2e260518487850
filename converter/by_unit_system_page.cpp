#include "by_unit_system_page.h"

#include "resource_ids.h"

#include <kestrum/ui/list_box.h>

namespace {

QString selectedText(const CListBox* list) {
    const int selected = list->GetCurSel();
    return selected == LB_ERR ? QString() : list->GetText(selected);
}

}  // namespace

CByUnitSystemDlg::CByUnitSystemDlg(MorvaneEngine& engine, const QString& programDir)
    : CConversionPage(IDD_BY_UNIT_SYSTEM, engine, programDir) {}

void CByUnitSystemDlg::DoDataExchange(CDataExchange* pDX) {
    ExchangeResult(pDX);
    DDX_Text(pDX, IDC_FROM_SYMBOL, m_sFromSymbol);
    DDX_Text(pDX, IDC_TO_SYMBOL, m_sToSymbol);
}

bool CByUnitSystemDlg::OnCommand(int nID, int nCode) {
    if (nCode != LBN_SELCHANGE) return false;
    if (nID != IDC_QUANTITY_LIST && nID != IDC_FROM_SYSTEM_LIST && nID != IDC_TO_SYSTEM_LIST) return false;
    OnSelectionChanged();
    return true;
}

void CByUnitSystemDlg::OnSelectionChanged() {
    m_dAdd = 0;
    m_dMultiplyBy = 0;
    const QString quantity = selectedText(DlgItem<CListBox>(IDC_QUANTITY_LIST));
    const QString from = selectedText(DlgItem<CListBox>(IDC_FROM_SYSTEM_LIST));
    const QString to = selectedText(DlgItem<CListBox>(IDC_TO_SYSTEM_LIST));
    if (quantity.isEmpty() || from.isEmpty()) {
        UpdateData(false);
        return;
    }
    m_sFromSymbol.clear();
    QString symbol;
    if (SUCCEEDED(m_engine.QuantityExpression_Symbol(from, quantity, symbol))) m_sFromSymbol = symbol;
    else ShowEngineError();
    if (to.isEmpty()) {
        UpdateData(false);
        return;
    }
    m_sToSymbol.clear();
    if (SUCCEEDED(m_engine.QuantityExpression_Symbol(to, quantity, symbol))) m_sToSymbol = symbol;
    else ShowEngineError();
    if (FAILED(m_engine.QuantityExpression_Convert(from, to, quantity, m_dAdd, m_dMultiplyBy))) ShowEngineError();
    UpdateData(false);
}
