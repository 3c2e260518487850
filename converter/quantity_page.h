// CQuantityDatabaseDlg: edits the quantities of the database in the engine: their dimension
// vector or quantity expression and their synonyms; quantities and synonyms are added, removed
// and renamed through the lists' context menus. The entry shown is written back when another
// quantity is selected, when the expression box loses the focus and when the page is left.
#pragma once

#include "table_page.h"

class CQuantityDatabaseDlg : public CTablePage {
    Q_OBJECT
public:
    CQuantityDatabaseDlg(MorvaneEngine& engine, const QString& programDir);

    bool OnSetActive() override;

    MorvaneEngine::DimensionExponents m_nDimVector{};
    QString m_sExpression;
    QString m_sSelectedQuantity;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    QString& SelectedEntry() override { return m_sSelectedQuantity; }
    void SaveEntry(const QString& quantity) override;
    void LoadEntry() override;
    void OnExpressionSaved() override;
};
