// CByQuantityDlg: converts between two units of one quantity. The units of the chosen quantity
// and their synonyms fill both unit lists; choosing a unit on each side shows the factor and
// offset of the conversion.
#pragma once

#include "morvane_page.h"

class CByQuantityDlg : public CMorvanePage {
    Q_OBJECT
public:
    CByQuantityDlg(MorvaneEngine& engine, const QString& programDir);

    double m_dAdd = 0;
    double m_dMultiplyBy = 0;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int nID, int nCode) override;

private:
    void OnQuantityChanged();
    void OnUnitChanged();
};
