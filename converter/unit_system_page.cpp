#include "unit_system_page.h"

#include "resource_ids.h"
#include "select_preferred_unit_dialog.h"

#include <kestrum/ui/list_ctrl.h>
#include <kestrum/ui/message_box.h>

#include <QStyle>

namespace {
constexpr int kQuantityColumn = 0;
constexpr int kPreferredUnitColumn = 1;
}  // namespace

CUnitSystemDatabaseDlg::CUnitSystemDatabaseDlg(MorvaneEngine& engine, const QString& programDir)
    : CTablePage(IDD_UNIT_SYSTEM_DATABASE, engine, programDir,
                 {IDC_UNIT_SYSTEM_LIST, std::bind_front(&MorvaneEngine::UnitSystem_Add, &engine),
                  std::bind_front(&MorvaneEngine::UnitSystem_Remove, &engine),
                  std::bind_front(&MorvaneEngine::UnitSystem_Rename, &engine)}) {}

CListCtrl* CUnitSystemDatabaseDlg::Map() const { return DlgItem<CListCtrl>(IDC_PREFERRED_UNIT_MAP); }

bool CUnitSystemDatabaseDlg::OnInitDialog() {
    CMorvanePage::OnInitDialog();
    CListCtrl* map = Map();
    // Half the width each, leaving room for the vertical scroll bar every real map needs, so
    // the two columns fill the map without a horizontal scroll bar.
    const int half = (map->GetClientRect().width() - map->style()->pixelMetric(QStyle::PM_ScrollBarExtent)) / 2;
    map->InsertColumn(kQuantityColumn, QStringLiteral("Quantity"), LVCFMT_LEFT, half);
    map->InsertColumn(kPreferredUnitColumn, QStringLiteral("Preferred Unit"), LVCFMT_LEFT, half);
    connect(map, &CListCtrl::dblClk, this, [this] { OnMapDoubleClick(); });
    connect(map, &CListCtrl::keyDown, this, [this](int nVKey) { OnMapKeyDown(nVKey); });
    return true;
}

void CUnitSystemDatabaseDlg::DoDataExchange(CDataExchange* pDX) {
    CTablePage::DoDataExchange(pDX);
    DDX_LBStringExact(pDX, IDC_UNIT_SYSTEM_LIST, m_sSelectedSystem);
}

bool CUnitSystemDatabaseDlg::OnSetActive() {
    m_sSelectedSystem.clear();
    m_entryList.ResetContent();
    QStringList systems;
    if (FAILED(m_engine.UnitSystem_Set(systems))) ShowEngineError();
    for (const QString& system : systems) m_entryList.AddString(system);
    CListCtrl* map = Map();
    map->DeleteAllItems();
    QStringList quantities;
    if (SUCCEEDED(m_engine.Quantity_Set(quantities)))
        for (const QString& quantity : quantities) map->InsertItem(map->GetItemCount(), quantity);
    return CMorvanePage::OnSetActive();
}

void CUnitSystemDatabaseDlg::SaveEntry(const QString& system) {
    if (system.isEmpty()) return;
    CListCtrl* map = Map();
    for (int row = 0; row < map->GetItemCount(); ++row) {
        if (FAILED(m_engine.UnitSystem_PrefUnit_Replace(system, map->GetItemText(row, kQuantityColumn),
                                                        map->GetItemText(row, kPreferredUnitColumn))))
            ShowEngineError();
    }
}

void CUnitSystemDatabaseDlg::LoadMap() {
    if (m_sSelectedSystem.isEmpty()) return;
    CListCtrl* map = Map();
    for (int row = 0; row < map->GetItemCount(); ++row) {
        QString unit;
        if (FAILED(m_engine.UnitSystem_PrefUnit(m_sSelectedSystem, map->GetItemText(row, kQuantityColumn), unit))) {
            ShowEngineError();
            unit.clear();
        }
        map->SetItemText(row, kPreferredUnitColumn, unit);
    }
}

void CUnitSystemDatabaseDlg::ClearPreferredUnits() {
    CListCtrl* map = Map();
    for (int row = 0; row < map->GetItemCount(); ++row) map->SetItemText(row, kPreferredUnitColumn, QString());
}

bool CUnitSystemDatabaseDlg::CheckRowChosen(int& row) {
    if (m_sSelectedSystem.isEmpty()) {
        MessageBox(this, QStringLiteral("Please select a unit system first"), QStringLiteral("Error Message"),
                   MB_OK | MB_ICONERROR);
        return false;
    }
    row = Map()->GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) {
        MessageBox(this, QStringLiteral("Please select an entry in the quantity column"), QStringLiteral("Error Message"),
                   MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

void CUnitSystemDatabaseDlg::OnMapDoubleClick() {
    int row = -1;
    if (!CheckRowChosen(row)) return;
    const QString quantity = Map()->GetItemText(row, kQuantityColumn);
    CSelectPreferredUnitDlg dialog(m_engine, quantity, this);
    if (dialog.DoModal() != IDOK || dialog.m_sUnit.isEmpty()) return;
    // The row shows what the engine holds: a unit it refused would be written again, and
    // refused again, with every later save of the map.
    if (FAILED(m_engine.UnitSystem_PrefUnit_Replace(m_sSelectedSystem, quantity, dialog.m_sUnit))) {
        ShowEngineError();
        return;
    }
    Map()->SetItemText(row, kPreferredUnitColumn, dialog.m_sUnit);
}

void CUnitSystemDatabaseDlg::OnMapKeyDown(int nVKey) {
    if (nVKey != VK_DELETE) return;
    int row = -1;
    if (!CheckRowChosen(row)) return;
    CListCtrl* map = Map();
    if (map->GetItemText(row, kPreferredUnitColumn).isEmpty()) return;
    if (FAILED(m_engine.UnitSystem_PrefUnit_Replace(m_sSelectedSystem, map->GetItemText(row, kQuantityColumn),
                                                    QString()))) {
        ShowEngineError();
        return;
    }
    map->SetItemText(row, kPreferredUnitColumn, QString());
}

void CUnitSystemDatabaseDlg::OnEntryRemoved() {
    // With no system left, the map must not go on showing the removed one's preferred units.
    if (m_sSelectedSystem.isEmpty()) ClearPreferredUnits();
    else LoadMap();
}
