// CTablePage: what the three database pages share. Each edits one table of the engine
// (quantities, units or unit systems) through the context menu of its list of entries; the
// Quantity and Unit pages also edit the synonyms of the selected entry through a second list.
// Every change is made in the engine first and in the lists only when the engine took it,
// with the engine's description shown otherwise. The entry shown is written back when another
// entry is selected and when the page is left.
#pragma once

#include "edit_list_box.h"
#include "morvane_page.h"

#include <functional>
#include <vector>

// The edits of a table in the engine, and the list that shows its entries.
struct TableEdits {
    int nIDList;
    std::function<HRESULT(const QString& name)> add;
    std::function<HRESULT(const QString& name)> remove;
    std::function<HRESULT(const QString& currentName, const QString& newName)> rename;
};

// The synonym edits of a table's entries, and the list that shows the selected entry's.
struct SynonymEdits {
    int nIDList = 0;  // 0: the page has no synonyms list
    std::function<HRESULT(const QString& entry, const QString& synonym)> add;
    std::function<HRESULT(const QString& entry, const QString& synonym)> remove;
};

class CTablePage : public CMorvanePage {
    Q_OBJECT
public:
    bool OnKillActive() override;

protected:
    // fixedValueEdits: the boxes of an entry's fixed values, which an expression replaces: they
    // are enabled only while the expression box is empty (none where entries have no expression).
    CTablePage(int nIDTemplate, MorvaneEngine& engine, const QString& programDir, TableEdits entries,
               SynonymEdits synonyms = {}, std::vector<int> fixedValueEdits = {});

    // Binds the two lists; a page exchanges its own fields after calling this.
    void DoDataExchange(CDataExchange* pDX) override;
    qintptr WindowProc(unsigned message, quintptr wParam, qintptr lParam) override;
    // A new selection in the entries list; typing in and leaving the expression box.
    bool OnCommand(int nID, int nCode) override;

    // The name of the entry the page shows (empty when none is).
    virtual QString& SelectedEntry() = 0;
    // Writes the page's fields back to the entry of that name (nothing for an empty name).
    virtual void SaveEntry(const QString& name) = 0;
    // Reads the selected entry's fields as the engine holds it.
    virtual void LoadEntry() {}
    // Shows the selected entry as the engine holds it.
    virtual void ShowEntry() {
        LoadEntry();
        UpdateData(false);
        UpdateEnabled();
    }
    // The expression box was left and the entry written back: shows what the engine derived.
    virtual void OnExpressionSaved() {}
    // After a removal, with the entry now selected (or none, when the list emptied).
    virtual void OnEntryRemoved() { ShowEntry(); }

    // Another entry was selected: the fields still show the previous one and are written back
    // to it, then the new one is shown.
    void OnEntryChanged();
    void UpdateEnabled();
    // Writes the expression box back to the entry or, when the box is empty, its fixed values
    // through writeValues. The engine takes fixed values only from an entry without an
    // expression, so an expression the user cleared is cleared in the engine first, and
    // writeValues is told whether that happened.
    void SaveExpressionOrValues(const QString& entry, const QString& expression,
                                const std::function<HRESULT(const QString& entry, QString& expression)>& query,
                                const std::function<HRESULT(const QString& entry, const QString& expression)>& replace,
                                const std::function<void(bool cleared)>& writeValues);

    CEditListBox m_entryList;
    CEditListBox m_synonymList;

private:
    void OnExpressionKillFocus();
    void EditEntries(unsigned message);
    void EditSynonyms(unsigned message);

    const TableEdits m_entries;
    const SynonymEdits m_synonyms;
    const std::vector<int> m_fixedValueEdits;
};
