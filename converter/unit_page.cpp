#include "unit_page.h"

#include "resource_ids.h"

#include <functional>

CUnitDatabaseDlg::CUnitDatabaseDlg(MorvaneEngine& engine, const QString& programDir)
    : CTablePage(IDD_UNIT_DATABASE, engine, programDir,
                 // A new unit goes to the quantity selected.
                 {IDC_UNIT_LIST, [this](const QString& unit) { return m_engine.Unit_Add(unit, m_sSelectedQuantity); },
                  std::bind_front(&MorvaneEngine::Unit_Remove, &engine),
                  std::bind_front(&MorvaneEngine::Unit_Rename, &engine)},
                 {IDC_SYNONYM_LIST, std::bind_front(&MorvaneEngine::Unit_Synonym_Add, &engine),
                  std::bind_front(&MorvaneEngine::Unit_Synonym_Remove, &engine)},
                 {IDC_CONVERSION_FACTOR, IDC_CONVERSION_OFFSET}) {}

void CUnitDatabaseDlg::DoDataExchange(CDataExchange* pDX) {
    CTablePage::DoDataExchange(pDX);
    DDX_ExactNumber(pDX, IDC_CONVERSION_FACTOR, m_factor);
    DDX_ExactNumber(pDX, IDC_CONVERSION_OFFSET, m_offset);
    DDX_Text(pDX, IDC_EXPRESSION, m_sExpression);
    DDX_Text(pDX, IDC_SYMBOL, m_sSymbol);
    // Exact, not by prefix: an added "k" must not select "kilometre" above it.
    DDX_LBStringExact(pDX, IDC_QUANTITY_LIST, m_sSelectedQuantity);
    DDX_LBStringExact(pDX, IDC_UNIT_LIST, m_sSelectedUnit);
}

bool CUnitDatabaseDlg::OnSetActive() {
    m_entryList.ResetContent();
    m_synonymList.ResetContent();
    m_factor.Set(0);
    m_offset.Set(0);
    m_sExpression.clear();
    m_sSymbol.clear();
    m_sSelectedUnit.clear();
    m_sSelectedQuantity.clear();
    auto* quantities = DlgItem<CListBox>(IDC_QUANTITY_LIST);
    quantities->ResetContent();
    QStringList names;
    if (SUCCEEDED(m_engine.Quantity_Set(names)))
        for (const QString& name : names) quantities->AddString(name);
    return CMorvanePage::OnSetActive();
}

bool CUnitDatabaseDlg::OnCommand(int nID, int nCode) {
    if (nCode != LBN_SELCHANGE || nID != IDC_QUANTITY_LIST) return CTablePage::OnCommand(nID, nCode);
    OnQuantityChanged();
    return true;
}

void CUnitDatabaseDlg::OnQuantityChanged() {
    const QString previous = m_sSelectedUnit;
    UpdateData(true);
    SaveEntry(previous);
    m_entryList.ResetContent();
    m_synonymList.ResetContent();
    if (!m_sSelectedQuantity.isEmpty()) {
        QStringList units;
        if (FAILED(m_engine.Quantity_Unit_Set(m_sSelectedQuantity, units))) ShowEngineError();
        for (const QString& unit : units) m_entryList.AddString(unit);
    }
    m_factor.Set(0);
    m_offset.Set(0);
    m_sExpression.clear();
    m_sSymbol.clear();
    m_sSelectedUnit.clear();
    UpdateData(false);
    UpdateEnabled();
}

void CUnitDatabaseDlg::OnExpressionSaved() {
    // Show at once the factor and offset the engine derived from the expression just left.
    ReadFactorAndOffset(m_sSelectedUnit);
    UpdateData(false);
    if (m_sExpression.isEmpty() || m_factor.IsKnown()) return;
    // The engine took the text but cannot work out a value from it (a cycle through other
    // units, a name it does not know, bad syntax): evaluating the text gives its reason.
    double add = 0, multiplyBy = 0;
    if (FAILED(m_engine.UnitExpression_Convert(m_sExpression, m_sExpression, add, multiplyBy))) ShowEngineError();
}

void CUnitDatabaseDlg::SaveEntry(const QString& unit) {
    if (unit.isEmpty()) return;
    SaveExpressionOrValues(unit, m_sExpression, std::bind_front(&MorvaneEngine::Unit_Expression, &m_engine),
                           std::bind_front(&MorvaneEngine::Unit_Expression_Replace, &m_engine),
                           [&](bool cleared) {
                               // A unit whose expression was cleared keeps the values shown. Otherwise
                               // a value is written only when its text was changed: the box shows the
                               // exact double, and writing back what was merely shown could only lose bits.
                               if (cleared || m_factor.IsEdited())
                                   m_engine.Unit_ConversionFactor_Replace(unit, m_factor.Value());
                               if (cleared || m_offset.IsEdited())
                                   m_engine.Unit_ConversionOffset_Replace(unit, m_offset.Value());
                           });
    m_engine.Unit_Symbol_Replace(unit, m_sSymbol);
    // Saving reports nothing; a refused value shows again as the engine's at the next load.
    SetErrorInfo(0, nullptr);
}

void CUnitDatabaseDlg::ReadFactorAndOffset(const QString& unit) {
    auto show = [](ExactNumber& number, double value) {
        if (value == kUndefinedValue) number.SetUnknown();
        else number.Set(value);
    };
    double value = 0;
    if (SUCCEEDED(m_engine.Unit_ConversionFactor(unit, value))) show(m_factor, value);
    if (SUCCEEDED(m_engine.Unit_ConversionOffset(unit, value))) show(m_offset, value);
}

void CUnitDatabaseDlg::LoadEntry() {
    m_factor.Set(0);
    m_offset.Set(0);
    m_sExpression.clear();
    m_sSymbol.clear();
    m_synonymList.ResetContent();
    if (m_sSelectedUnit.isEmpty()) return;
    ReadFactorAndOffset(m_sSelectedUnit);
    QString text;
    if (SUCCEEDED(m_engine.Unit_Expression(m_sSelectedUnit, text))) m_sExpression = text;
    if (SUCCEEDED(m_engine.Unit_Symbol(m_sSelectedUnit, text))) m_sSymbol = text;
    QStringList synonyms;
    if (SUCCEEDED(m_engine.Unit_Synonym_Set(m_sSelectedUnit, synonyms)))
        for (const QString& synonym : synonyms) m_synonymList.AddString(synonym);
    SetErrorInfo(0, nullptr);
}
