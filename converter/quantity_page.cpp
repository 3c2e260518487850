#include "quantity_page.h"

#include "resource_ids.h"
#include "synonym_rename.h"

CQuantityDatabaseDlg::CQuantityDatabaseDlg(MorvaneEngine& engine, const QString& programDir)
    : CMorvanePage(IDD_QUANTITY_DATABASE, engine, programDir) {}

void CQuantityDatabaseDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_QUANTITY_LIST, m_quantityList);
    DDX_Control(pDX, IDC_SYNONYM_LIST, m_synonymList);
    for (std::size_t i = 0; i < m_nDimVector.size(); ++i) DDX_Text(pDX, kDimensionEdits[i], m_nDimVector[i]);
    DDX_Text(pDX, IDC_EXPRESSION, m_sExpression);
    // Exact, not by prefix: an added "Len" must not select "Length" above it.
    DDX_LBStringExact(pDX, IDC_QUANTITY_LIST, m_sSelectedQuantity);
}

bool CQuantityDatabaseDlg::OnSetActive() {
    m_nDimVector.fill(0);
    m_sExpression.clear();
    m_sSelectedQuantity.clear();
    m_quantityList.ResetContent();
    m_synonymList.ResetContent();
    QStringList quantities;
    if (FAILED(m_engine.Quantity_Set(quantities))) ShowEngineError();
    for (const QString& quantity : quantities) m_quantityList.AddString(quantity);
    return CMorvanePage::OnSetActive();
}

bool CQuantityDatabaseDlg::OnKillActive() {
    const bool taken = UpdateData(true);
    SaveQuantity(m_sSelectedQuantity);
    return taken;
}

bool CQuantityDatabaseDlg::OnCommand(int nID, int nCode) {
    if (nID == IDC_QUANTITY_LIST && nCode == LBN_SELCHANGE) {
        OnQuantityChanged();
        return true;
    }
    if (nID == IDC_EXPRESSION && nCode == EN_CHANGE) {
        UpdateEnabled();
        return true;
    }
    if (nID == IDC_EXPRESSION && nCode == EN_KILLFOCUS) {
        OnExpressionKillFocus();
        return true;
    }
    return false;
}

qintptr CQuantityDatabaseDlg::WindowProc(unsigned message, quintptr wParam, qintptr lParam) {
    switch (message) {
        case WM_EDIT_LIST_ADD: OnAdd(int(wParam)); return 0;
        case WM_EDIT_LIST_REMOVE: OnRemove(int(wParam)); return 0;
        case WM_EDIT_LIST_RENAME: OnRename(int(wParam)); return 0;
        default: return CMorvanePage::WindowProc(message, wParam, lParam);
    }
}

void CQuantityDatabaseDlg::OnQuantityChanged() {
    const QString previous = m_sSelectedQuantity;
    // The edits still show the previous quantity; the list already shows the new selection.
    UpdateData(true);
    SaveQuantity(previous);
    LoadQuantity();
    UpdateData(false);
    UpdateEnabled();
}

void CQuantityDatabaseDlg::OnExpressionKillFocus() {
    UpdateData(true);
    if (m_sSelectedQuantity.isEmpty()) return;
    SaveQuantity(m_sSelectedQuantity);
    // Show at once the vector the engine derived from the expression just left.
    std::vector<int> vector;
    if (SUCCEEDED(m_engine.Quantity_DimVector(m_sSelectedQuantity, vector)))
        for (std::size_t i = 0; i < vector.size() && i < m_nDimVector.size(); ++i) m_nDimVector[i] = vector[i];
    UpdateData(false);
}

void CQuantityDatabaseDlg::SaveQuantity(const QString& quantity) {
    if (quantity.isEmpty()) return;
    if (!m_sExpression.isEmpty()) {
        m_engine.Quantity_Expression_Replace(quantity, m_sExpression);
    } else {
        // The engine takes a vector only from a quantity without an expression, so an expression
        // the user cleared has to be cleared in the engine first, or the vector would be refused.
        QString stored;
        if (SUCCEEDED(m_engine.Quantity_Expression(quantity, stored)) && !stored.isEmpty())
            m_engine.Quantity_Expression_Replace(quantity, QString());
        m_engine.Quantity_DimVector_Replace(quantity, m_nDimVector);
    }
    // Saving reports nothing; a refused value shows again as the engine's at the next load.
    SetErrorInfo(0, nullptr);
}

void CQuantityDatabaseDlg::LoadQuantity() {
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

void CQuantityDatabaseDlg::UpdateEnabled() {
    // Only the expression decides, so its box is read alone: a full exchange here would put
    // up the "enter an integer" message at every keystroke while an exponent box is wrong.
    const bool fixed = GetDlgItemText(IDC_EXPRESSION).isEmpty();
    for (int id : kDimensionEdits)
        if (QWidget* edit = GetDlgItem(id)) edit->setEnabled(fixed);
}

void CQuantityDatabaseDlg::OnAdd(int nIDList) {
    if (nIDList == IDC_QUANTITY_LIST) {
        const QString name = m_quantityList.GetEntryName();
        if (FAILED(m_engine.Quantity_Add(name))) {
            ShowEngineError();
            return;
        }
        InsertAtSelection(m_quantityList, name);
        OnQuantityChanged();
    } else if (nIDList == IDC_SYNONYM_LIST) {
        if (m_sSelectedQuantity.isEmpty()) return;
        const QString name = m_synonymList.GetEntryName();
        if (FAILED(m_engine.Quantity_Synonym_Add(m_sSelectedQuantity, name))) ShowEngineError();
        else InsertAtSelection(m_synonymList, name);
    }
}

void CQuantityDatabaseDlg::OnRemove(int nIDList) {
    if (nIDList == IDC_QUANTITY_LIST) {
        if (m_quantityList.GetCurSel() == LB_ERR) return;
        if (FAILED(m_engine.Quantity_Remove(m_quantityList.GetEntryName()))) {
            ShowEngineError();
            return;
        }
        DeleteSelection(m_quantityList);
        const int selected = m_quantityList.GetCurSel();
        m_sSelectedQuantity = selected == LB_ERR ? QString() : m_quantityList.GetText(selected);
        LoadQuantity();
        UpdateData(false);
        UpdateEnabled();
    } else if (nIDList == IDC_SYNONYM_LIST) {
        if (m_sSelectedQuantity.isEmpty() || m_synonymList.GetCurSel() == LB_ERR) return;
        if (FAILED(m_engine.Quantity_Synonym_Remove(m_sSelectedQuantity, m_synonymList.GetEntryName())))
            ShowEngineError();
        else
            DeleteSelection(m_synonymList);
    }
}

void CQuantityDatabaseDlg::OnRename(int nIDList) {
    if (nIDList == IDC_QUANTITY_LIST) {
        const int selected = m_quantityList.GetCurSel();
        if (selected == LB_ERR) return;
        const QString name = m_quantityList.GetEntryName();
        if (FAILED(m_engine.Quantity_Rename(m_quantityList.GetText(selected), name))) {
            ShowEngineError();
            return;
        }
        ReplaceSelection(m_quantityList, name);
        m_sSelectedQuantity = name;
    } else if (nIDList == IDC_SYNONYM_LIST) {
        if (m_sSelectedQuantity.isEmpty() || m_synonymList.GetCurSel() == LB_ERR) return;
        const QString quantity = m_sSelectedQuantity;
        RenameSynonym(
            m_engine, m_synonymList,
            [&](const QString& synonym) { return m_engine.Quantity_Synonym_Remove(quantity, synonym); },
            [&](const QString& synonym) { return m_engine.Quantity_Synonym_Add(quantity, synonym); },
            [this] { ShowEngineError(); });
    }
}
