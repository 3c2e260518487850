// CUnitSystemDatabaseDlg: edits the unit systems in the engine: adds, removes and renames them
// through the list's context menu, and shows for the selected system the preferred unit of
// every quantity, changed by a double-click on a row and cleared with the Delete key. The map
// is written back when another system is selected and when the page is left.
#pragma once

#include "edit_list_box.h"
#include "morvane_page.h"

class CListCtrl;

class CUnitSystemDatabaseDlg : public CMorvanePage {
    Q_OBJECT
public:
    CUnitSystemDatabaseDlg(MorvaneEngine& engine, const QString& programDir);

    bool OnSetActive() override;
    bool OnKillActive() override;

    QString m_sSelectedSystem;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int nID, int nCode) override;
    qintptr WindowProc(unsigned message, quintptr wParam, qintptr lParam) override;

private:
    CListCtrl* Map() const;
    void OnSystemChanged();
    void SaveMap(const QString& system);
    void LoadMap();
    void ClearPreferredUnits();
    bool CheckRowChosen(int& row);
    void OnMapDoubleClick();
    void OnMapKeyDown(int nVKey);
    void OnAdd(int nIDList);
    void OnRemove(int nIDList);
    void OnRename(int nIDList);

    CEditListBox m_systemList;
};
