// CNameDlg: asks for the name of a new or renamed entry (at most 100 characters).
#pragma once

#include <kestrum/ui/dialog.h>

class CNameDlg : public CDialog {
    Q_OBJECT
public:
    explicit CNameDlg(QWidget* pParent = nullptr);

    QString m_sName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
