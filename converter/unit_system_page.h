// CUnitSystemDatabaseDlg: edits the unit systems in the engine: adds, removes and renames them
// through the list's context menu, and shows for the selected system the preferred unit of
// every quantity, changed by a double-click on a row and cleared with the Delete key. The map
// is written back when another system is selected and when the page is left.
#pragma once

#include "table_page.h"

class CListCtrl;

class CUnitSystemDatabaseDlg : public CTablePage {
    Q_OBJECT
public:
    CUnitSystemDatabaseDlg(MorvaneEngine& engine, const QString& programDir);

    bool OnSetActive() override;

    QString m_sSelectedSystem;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    QString& SelectedEntry() override { return m_sSelectedSystem; }
    // Writes the map back as the preferred units of that system.
    void SaveEntry(const QString& system) override;
    void ShowEntry() override { LoadMap(); }
    void OnEntryRemoved() override;

private:
    CListCtrl* Map() const;
    void LoadMap();
    void ClearPreferredUnits();
    bool CheckRowChosen(int& row);
    void OnMapDoubleClick();
    void OnMapKeyDown(int nVKey);
};
