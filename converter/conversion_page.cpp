#include "conversion_page.h"

#include "resource_ids.h"

#include <kestrum/ui/list_box.h>

void CConversionPage::ExchangeResult(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_MULTIPLY_BY, m_dMultiplyBy);
    DDX_Text(pDX, IDC_ADD, m_dAdd);
}

bool CConversionPage::OnInitDialog() {
    CMorvanePage::OnInitDialog();
    auto* list = DlgItem<CListBox>(IDC_QUANTITY_LIST);
    if (!list) return true;
    QStringList quantities;
    if (FAILED(m_engine.Quantity_Set(quantities))) ShowEngineError();
    for (const QString& quantity : quantities) list->AddString(quantity);
    return true;
}
