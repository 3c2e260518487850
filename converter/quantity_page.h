// CQuantityDatabaseDlg: edits the quantities of the database in the engine: their dimension
// vector or quantity expression and their synonyms; quantities and synonyms are added, removed
// and renamed through the lists' context menus. The entry shown is written back when another
// quantity is selected, when the expression box loses the focus and when the page is left.
#pragma once

#include "edit_list_box.h"
#include "morvane_page.h"

class CQuantityDatabaseDlg : public CMorvanePage {
    Q_OBJECT
public:
    CQuantityDatabaseDlg(MorvaneEngine& engine, const QString& programDir);

    bool OnSetActive() override;
    bool OnKillActive() override;

    MorvaneEngine::DimensionExponents m_nDimVector{};
    QString m_sExpression;
    QString m_sSelectedQuantity;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int nID, int nCode) override;
    qintptr WindowProc(unsigned message, quintptr wParam, qintptr lParam) override;

private:
    void OnQuantityChanged();
    void OnExpressionKillFocus();
    void SaveQuantity(const QString& quantity);
    void LoadQuantity();
    void UpdateEnabled();
    void OnAdd(int nIDList);
    void OnRemove(int nIDList);
    void OnRename(int nIDList);

    CEditListBox m_quantityList;
    CEditListBox m_synonymList;
};
