// CMorvaneSheet: the program's whole window, the property sheet of its seven pages over one
// engine. Closing it (OK, Cancel or the close box) with changes that were not saved asks
// whether to save them first.
#pragma once

#include "by_expression_page.h"
#include "by_quantity_page.h"
#include "by_unit_system_page.h"
#include "database_file_page.h"
#include "quantity_page.h"
#include "unit_page.h"
#include "unit_system_page.h"

#include <kestrum/ui/property_sheet.h>

inline constexpr char kSheetTitle[] = "Morvane Unit Converter - Kestrum";

class CMorvaneSheet : public CPropertySheet {
    Q_OBJECT
public:
    CMorvaneSheet(MorvaneEngine& engine, const QString& programDir);
    ~CMorvaneSheet() override;

    CDatabaseFileDlg m_databaseFilePage;
    CByQuantityDlg m_byQuantityPage;
    CByUnitSystemDlg m_byUnitSystemPage;
    CByExpressionDlg m_byExpressionPage;
    CQuantityDatabaseDlg m_quantityDatabasePage;
    CUnitDatabaseDlg m_unitDatabasePage;
    CUnitSystemDatabaseDlg m_unitSystemDatabasePage;

protected:
    bool OnQueryClose(int nResult) override;

private:
    MorvaneEngine& m_engine;
};
