#include "table_page.h"

#include "resource_ids.h"
#include "synonym_rename.h"

#include <utility>

CTablePage::CTablePage(int nIDTemplate, MorvaneEngine& engine, const QString& programDir, TableEdits entries,
                       SynonymEdits synonyms, std::vector<int> fixedValueEdits)
    : CMorvanePage(nIDTemplate, engine, programDir),
      m_entries(std::move(entries)),
      m_synonyms(std::move(synonyms)),
      m_fixedValueEdits(std::move(fixedValueEdits)) {}

void CTablePage::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, m_entries.nIDList, m_entryList);
    if (m_synonyms.nIDList != 0) DDX_Control(pDX, m_synonyms.nIDList, m_synonymList);
}

bool CTablePage::OnKillActive() {
    const bool taken = UpdateData(true);
    SaveEntry(SelectedEntry());
    return taken;
}

qintptr CTablePage::WindowProc(unsigned message, quintptr wParam, qintptr lParam) {
    if (message != WM_EDIT_LIST_ADD && message != WM_EDIT_LIST_REMOVE && message != WM_EDIT_LIST_RENAME)
        return CMorvanePage::WindowProc(message, wParam, lParam);
    const int nIDList = int(wParam);
    if (nIDList == m_entries.nIDList) EditEntries(message);
    else if (m_synonyms.nIDList != 0 && nIDList == m_synonyms.nIDList) EditSynonyms(message);
    return 0;
}

bool CTablePage::OnCommand(int nID, int nCode) {
    if (nID == m_entries.nIDList && nCode == LBN_SELCHANGE) OnEntryChanged();
    else if (m_fixedValueEdits.empty() || nID != IDC_EXPRESSION) return false;
    else if (nCode == EN_CHANGE) UpdateEnabled();
    else if (nCode == EN_KILLFOCUS) OnExpressionKillFocus();
    else return false;
    return true;
}

void CTablePage::UpdateEnabled() {
    // Only the expression decides, so its box is read alone: a full exchange here would put
    // up the "enter a number" message at every keystroke while a value box is wrong.
    const bool fixed = GetDlgItemText(IDC_EXPRESSION).isEmpty();
    for (int id : m_fixedValueEdits)
        if (QWidget* edit = GetDlgItem(id)) edit->setEnabled(fixed);
}

void CTablePage::OnExpressionKillFocus() {
    UpdateData(true);
    if (SelectedEntry().isEmpty()) return;
    SaveEntry(SelectedEntry());
    OnExpressionSaved();
}

void CTablePage::SaveExpressionOrValues(const QString& entry, const QString& expression,
                                        const std::function<HRESULT(const QString&, QString&)>& query,
                                        const std::function<HRESULT(const QString&, const QString&)>& replace,
                                        const std::function<void(bool cleared)>& writeValues) {
    if (!expression.isEmpty()) {
        replace(entry, expression);
        return;
    }
    QString stored;
    const bool cleared = SUCCEEDED(query(entry, stored)) && !stored.isEmpty();
    if (cleared) replace(entry, QString());
    writeValues(cleared);
}

void CTablePage::OnEntryChanged() {
    const QString previous = SelectedEntry();
    UpdateData(true);
    SaveEntry(previous);
    ShowEntry();
}

void CTablePage::EditEntries(unsigned message) {
    CEditListBox& list = m_entryList;
    const QString name = list.GetEntryName();
    if (message == WM_EDIT_LIST_ADD) {
        if (FAILED(m_entries.add(name))) {
            ShowEngineError();
            return;
        }
        InsertAtSelection(list, name);
        OnEntryChanged();
        return;
    }
    const int selected = list.GetCurSel();
    if (selected == LB_ERR) return;
    if (message == WM_EDIT_LIST_REMOVE) {
        if (FAILED(m_entries.remove(name))) {
            ShowEngineError();
            return;
        }
        DeleteSelection(list);
        const int now = list.GetCurSel();
        SelectedEntry() = now == LB_ERR ? QString() : list.GetText(now);
        OnEntryRemoved();
    } else {
        if (FAILED(m_entries.rename(list.GetText(selected), name))) {
            ShowEngineError();
            return;
        }
        ReplaceSelection(list, name);
        SelectedEntry() = name;
    }
}

void CTablePage::EditSynonyms(unsigned message) {
    const QString entry = SelectedEntry();
    if (entry.isEmpty()) return;
    CEditListBox& list = m_synonymList;
    if (message == WM_EDIT_LIST_ADD) {
        const QString name = list.GetEntryName();
        if (FAILED(m_synonyms.add(entry, name))) ShowEngineError();
        else InsertAtSelection(list, name);
        return;
    }
    if (list.GetCurSel() == LB_ERR) return;
    if (message == WM_EDIT_LIST_REMOVE) {
        if (FAILED(m_synonyms.remove(entry, list.GetEntryName()))) ShowEngineError();
        else DeleteSelection(list);
    } else {
        RenameSynonym(
            m_engine, list, [&](const QString& synonym) { return m_synonyms.remove(entry, synonym); },
            [&](const QString& synonym) { return m_synonyms.add(entry, synonym); }, [this] { ShowEngineError(); });
    }
}
