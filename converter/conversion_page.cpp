#include "conversion_page.h"

#include "resource_ids.h"

#include <kestrum/ui/list_box.h>

void CConversionPage::ExchangeResult(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_MULTIPLY_BY, m_dMultiplyBy);
    DDX_Text(pDX, IDC_ADD, m_dAdd);
}

void CConversionPage::FillQuantityList() {
    QStringList quantities;
    if (FAILED(m_engine.Quantity_Set(quantities))) ShowEngineError();
    auto* list = DlgItem<CListBox>(IDC_QUANTITY_LIST);
    for (const QString& quantity : quantities) list->AddString(quantity);
}
