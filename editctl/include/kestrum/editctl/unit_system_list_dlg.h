// CUnitSystemListDlg ("Unit Systems", template 7544): the unit systems of the database, the
// current one selected. Run by CDimsafeEdit::ChangeCurrentUnitSystem.
#pragma once

#include <kestrum/editctl/export.h>
#include <kestrum/ui/dialog.h>

#include <memory>

class CUnitSystemListDlgPrivate;

class DIMSAFE_EDITCTL_API CUnitSystemListDlg : public CDialog {
    Q_OBJECT
public:
    enum { IDD = 7544 };

    explicit CUnitSystemListDlg(QWidget* pParent = nullptr);
    ~CUnitSystemListDlg() override;

    // The unit systems listed (m_arrUnitSystems); set before the dialog runs.
    void SetUnitSystems(const CStringArray& unitSystems);
    // The selected unit system: preselected (ignoring case) when the dialog starts, the one
    // chosen after OK (empty when none was selected).
    void SetUnitSystem(const CString& sUnitSystem);
    CString GetUnitSystem() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;

private:
    std::unique_ptr<CUnitSystemListDlgPrivate> d;
};
