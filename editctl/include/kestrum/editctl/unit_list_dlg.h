// CUnitListDlg ("Units", template 7541): the value of a control and the units of its quantity.
// Choosing a unit converts the number in the Value box into it; the control is not changed.
// Opened by the key u in a CDimsafeEdit.
#pragma once

#include <kestrum/editctl/export.h>
#include <kestrum/ui/dialog.h>

#include <memory>

struct IMorvane;
class CUnitListDlgPrivate;

class DIMSAFE_EDITCTL_API CUnitListDlg : public CDialog {
    Q_OBJECT
public:
    enum { IDD = 7541 };

    CUnitListDlg(double dValue, const CString& sUnit, QWidget* pParent = nullptr);
    ~CUnitListDlg() override;

    // The units listed (m_arrUnits); set before the dialog runs.
    void SetUnits(const CStringArray& units);
    // The engine object that converts between units, borrowed for the dialog's lifetime: the
    // caller holds a counted reference while the dialog runs.
    void SetConverter(IMorvane* pConverter);

    double GetValue() const;
    CString GetUnit() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnSelchangeUnitList();

private:
    std::unique_ptr<CUnitListDlgPrivate> d;
};
