#include "conversion_page.h"

#include "resource_ids.h"

#include <kestrum/ui/list_box.h>

void CConversionPage::ExchangeResult(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_MULTIPLY_BY, m_dMultiplyBy);
    DDX_Text(pDX, IDC_ADD, m_dAdd);
}

bool CConversionPage::OnInitDialog() {
    CMorvanePage::OnInitDialog();
    if (auto* list = DlgItem<CListBox>(IDC_QUANTITY_LIST)) {
        QStringList quantities;
        if (FAILED(m_engine.Quantity_Set(quantities))) ShowEngineError();
        for (const QString& quantity : quantities) list->AddString(quantity);
    }
    auto* from = DlgItem<CListBox>(IDC_FROM_SYSTEM_LIST);
    auto* to = DlgItem<CListBox>(IDC_TO_SYSTEM_LIST);
    QStringList systems;
    if (from && to && SUCCEEDED(m_engine.UnitSystem_Set(systems))) {
        for (const QString& system : systems) {
            from->AddString(system);
            to->AddString(system);
        }
    }
    return true;
}
