// Dialog data exchange: moving values between a dialog's members and its controls, in both
// directions, from one DoDataExchange per dialog that UpdateData runs.
//
// Loading (m_bSaveAndValidate false) writes each value into its control; saving reads it back
// and validates. A number box whose text is not a number shows the message "Please enter a
// number." (an integer box: "Please enter an integer."), puts the focus on the box and stops the
// exchange there: the values exchanged before it are taken, the rest are not, and UpdateData
// returns false. Numbers are read and written without regard to the process locale.
#pragma once

#include <kestrum/ui/export.h>

#include <QString>

class QWidget;

namespace kestrum::ui {
class DialogItems;

KESTRUM_UI_API extern const char* const kEnterNumberMessage;
KESTRUM_UI_API extern const char* const kEnterIntegerMessage;
}  // namespace kestrum::ui

class KESTRUM_UI_API CDataExchange {
public:
    CDataExchange(kestrum::ui::DialogItems* pDlgWnd, bool bSaveAndValidate);

    // The control nIDC, remembered as the one a failure puts the focus on; null (with a
    // warning) when the dialog has no such control.
    QWidget* PrepareCtrl(int nIDC);
    QWidget* PrepareEditCtrl(int nIDC);
    // Puts the focus on the last prepared control (selecting an edit's text) and stops the
    // exchange; UpdateData then returns false.
    [[noreturn]] void Fail();
    QWidget* lastControl() const { return m_lastControl; }

    const bool m_bSaveAndValidate;
    kestrum::ui::DialogItems* const m_pDlgWnd;

private:
    QWidget* m_lastControl = nullptr;
    bool m_bEditLastControl = false;
};

KESTRUM_UI_API void DDX_Text(CDataExchange* pDX, int nIDC, QString& value);
KESTRUM_UI_API void DDX_Text(CDataExchange* pDX, int nIDC, double& value);  // 15 significant digits
KESTRUM_UI_API void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
KESTRUM_UI_API void DDX_Check(CDataExchange* pDX, int nIDC, int& value);  // BST_UNCHECKED, BST_CHECKED
// value is the index of the checked button in the group that starts at nIDC, -1 for none.
KESTRUM_UI_API void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Saving takes the selected entry's text (empty when none); loading selects the first entry that
// begins with value, ignoring case (an empty value clears the selection; no match leaves it).
KESTRUM_UI_API void DDX_LBString(CDataExchange* pDX, int nIDC, QString& value);
// As DDX_LBString, loading only an entry equal to value (ignoring case).
KESTRUM_UI_API void DDX_LBStringExact(CDataExchange* pDX, int nIDC, QString& value);
// Puts the program's own control object in place of the template's control nIDC on the first
// call: same identifier, position, styles, text and place in the tab order. Later calls do nothing.
KESTRUM_UI_API void DDX_Control(CDataExchange* pDX, int nIDC, QWidget& rControl);
// Loading limits the last prepared edit control to nChars; saving refuses a longer value with
// the message "Please enter no more than N characters." and stops the exchange.
KESTRUM_UI_API void DDV_MaxChars(CDataExchange* pDX, const QString& value, int nChars);
