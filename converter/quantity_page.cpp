#include "quantity_page.h"

#include "resource_ids.h"

#include <functional>
#include <iterator>

CQuantityDatabaseDlg::CQuantityDatabaseDlg(MorvaneEngine& engine, const QString& programDir)
    : CTablePage(IDD_QUANTITY_DATABASE, engine, programDir,
                 {IDC_QUANTITY_LIST, std::bind_front(&MorvaneEngine::Quantity_Add, &engine),
                  std::bind_front(&MorvaneEngine::Quantity_Remove, &engine),
                  std::bind_front(&MorvaneEngine::Quantity_Rename, &engine)},
                 {IDC_SYNONYM_LIST, std::bind_front(&MorvaneEngine::Quantity_Synonym_Add, &engine),
                  std::bind_front(&MorvaneEngine::Quantity_Synonym_Remove, &engine)},
                 {std::begin(kDimensionEdits), std::end(kDimensionEdits)}) {}

void CQuantityDatabaseDlg::DoDataExchange(CDataExchange* pDX) {
    CTablePage::DoDataExchange(pDX);
    for (std::size_t i = 0; i < m_nDimVector.size(); ++i) DDX_Text(pDX, kDimensionEdits[i], m_nDimVector[i]);
    DDX_Text(pDX, IDC_EXPRESSION, m_sExpression);
    // Exact, not by prefix: an added "Len" must not select "Length" above it.
    DDX_LBStringExact(pDX, IDC_QUANTITY_LIST, m_sSelectedQuantity);
}

bool CQuantityDatabaseDlg::OnSetActive() {
    m_nDimVector.fill(0);
    m_sExpression.clear();
    m_sSelectedQuantity.clear();
    m_entryList.ResetContent();
    m_synonymList.ResetContent();
    QStringList quantities;
    if (FAILED(m_engine.Quantity_Set(quantities))) ShowEngineError();
    for (const QString& quantity : quantities) m_entryList.AddString(quantity);
    return CMorvanePage::OnSetActive();
}

void CQuantityDatabaseDlg::OnExpressionSaved() {
    // Show at once the vector the engine derived from the expression just left.
    std::vector<int> vector;
    if (SUCCEEDED(m_engine.Quantity_DimVector(m_sSelectedQuantity, vector)))
        for (std::size_t i = 0; i < vector.size() && i < m_nDimVector.size(); ++i) m_nDimVector[i] = vector[i];
    UpdateData(false);
}

void CQuantityDatabaseDlg::SaveEntry(const QString& quantity) {
    if (quantity.isEmpty()) return;
    SaveExpressionOrValues(quantity, m_sExpression, std::bind_front(&MorvaneEngine::Quantity_Expression, &m_engine),
                           std::bind_front(&MorvaneEngine::Quantity_Expression_Replace, &m_engine),
                           [&](bool) { m_engine.Quantity_DimVector_Replace(quantity, m_nDimVector); });
    // Saving reports nothing; a refused value shows again as the engine's at the next load.
    SetErrorInfo(0, nullptr);
}

void CQuantityDatabaseDlg::LoadEntry() {
    m_nDimVector.fill(0);
    m_sExpression.clear();
    m_synonymList.ResetContent();
    if (m_sSelectedQuantity.isEmpty()) return;
    std::vector<int> vector;
    if (FAILED(m_engine.Quantity_DimVector(m_sSelectedQuantity, vector))) ShowEngineError();
    for (std::size_t i = 0; i < vector.size() && i < m_nDimVector.size(); ++i) m_nDimVector[i] = vector[i];
    QString expression;
    if (SUCCEEDED(m_engine.Quantity_Expression(m_sSelectedQuantity, expression))) m_sExpression = expression;
    QStringList synonyms;
    if (SUCCEEDED(m_engine.Quantity_Synonym_Set(m_sSelectedQuantity, synonyms)))
        for (const QString& synonym : synonyms) m_synonymList.AddString(synonym);
}
