// CSelectPreferredUnitDlg: lists the units of one quantity and gives back the one chosen (empty
// when none is).
#pragma once

#include "engine_connection.h"

#include <kestrum/ui/dialog.h>

class CSelectPreferredUnitDlg : public CDialog {
    Q_OBJECT
public:
    CSelectPreferredUnitDlg(MorvaneEngine& engine, const QString& quantity, QWidget* pParent = nullptr);

    QString m_sUnit;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int nID, int nCode) override;

private:
    MorvaneEngine& m_engine;
    QString m_sQuantity;
};
