// CByQuantityDlg: converts between two units of one quantity. The units of the chosen quantity
// and their synonyms fill both unit lists; choosing a unit on each side shows the factor and
// offset of the conversion.
#pragma once

#include "conversion_page.h"

class CByQuantityDlg : public CConversionPage {
    Q_OBJECT
public:
    CByQuantityDlg(MorvaneEngine& engine, const QString& programDir);

protected:
    bool OnCommand(int nID, int nCode) override;

private:
    void OnQuantityChanged();
    void OnUnitChanged();
};
