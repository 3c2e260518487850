// The demo dialog: four quantity edit controls (length, mass, time and a temperature without a
// value) and a button that changes the current unit system, after which every control shows
// its value again in the new system.
#pragma once

#include <kestrum/editctl/dimsafe_edit.h>
#include <kestrum/ui/dialog.h>

#include <QIcon>

class CProbeckDlg : public CDialog {
    Q_OBJECT
public:
    explicit CProbeckDlg(QWidget* pParent = nullptr);

    CDimsafeEdit& temperature() { return m_temperature; }
    CDimsafeEdit& time() { return m_time; }
    CDimsafeEdit& mass() { return m_mass; }
    CDimsafeEdit& length() { return m_length; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSysCommand(unsigned nID, qintptr lParam) override;
    void paintEvent(QPaintEvent* event) override;
    void OnUnitSystemsDialog();

private:
    CDimsafeEdit m_temperature;
    CDimsafeEdit m_time;
    CDimsafeEdit m_mass;
    CDimsafeEdit m_length;
    QIcon m_hIcon;
};
