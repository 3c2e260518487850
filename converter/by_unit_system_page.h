// CByUnitSystemDlg: converts a quantity from the preferred unit of one unit system to that of
// another, and shows the symbol of each side.
#pragma once

#include "conversion_page.h"

class CByUnitSystemDlg : public CConversionPage {
    Q_OBJECT
public:
    CByUnitSystemDlg(MorvaneEngine& engine, const QString& programDir);

    QString m_sFromSymbol;
    QString m_sToSymbol;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int nID, int nCode) override;

private:
    void OnSelectionChanged();
};
