#include "by_quantity_page.h"

#include "resource_ids.h"

#include <kestrum/ui/list_box.h>

CByQuantityDlg::CByQuantityDlg(MorvaneEngine& engine, const QString& programDir)
    : CConversionPage(IDD_BY_QUANTITY, engine, programDir) {}

bool CByQuantityDlg::OnCommand(int nID, int nCode) {
    if (nCode != LBN_SELCHANGE) return false;
    if (nID == IDC_QUANTITY_LIST) OnQuantityChanged();
    else if (nID == IDC_FROM_UNIT_LIST || nID == IDC_TO_UNIT_LIST) OnUnitChanged();
    else return false;
    return true;
}

void CByQuantityDlg::OnQuantityChanged() {
    auto* quantities = DlgItem<CListBox>(IDC_QUANTITY_LIST);
    auto* from = DlgItem<CListBox>(IDC_FROM_UNIT_LIST);
    auto* to = DlgItem<CListBox>(IDC_TO_UNIT_LIST);
    from->ResetContent();
    to->ResetContent();
    const int selected = quantities->GetCurSel();
    if (selected == LB_ERR) return;
    QStringList units;
    if (FAILED(m_engine.Quantity_Unit_Set(quantities->GetText(selected), units))) {
        ShowEngineError();
        return;
    }
    for (const QString& unit : units) {
        from->AddString(unit);
        to->AddString(unit);
        QStringList synonyms;
        // A unit whose synonyms cannot be listed is still offered under its own name.
        if (FAILED(m_engine.Unit_Synonym_Set(unit, synonyms))) continue;
        for (const QString& synonym : synonyms) {
            from->AddString(synonym);
            to->AddString(synonym);
        }
    }
}

void CByQuantityDlg::OnUnitChanged() {
    auto* from = DlgItem<CListBox>(IDC_FROM_UNIT_LIST);
    auto* to = DlgItem<CListBox>(IDC_TO_UNIT_LIST);
    m_dAdd = 0;
    m_dMultiplyBy = 0;
    if (from->GetCurSel() != LB_ERR && to->GetCurSel() != LB_ERR) {
        if (FAILED(m_engine.UnitExpression_Convert(from->GetText(from->GetCurSel()), to->GetText(to->GetCurSel()),
                                                   m_dAdd, m_dMultiplyBy)))
            ShowEngineError();
    }
    UpdateData(false);
}
