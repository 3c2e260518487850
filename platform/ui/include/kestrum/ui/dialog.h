// CDialog: a dialog made from a dialog template, run modally (DoModal) or modelessly (Create).
//
// The controls are made when the dialog is created, from the template found along the resource
// lookup at that moment; then OnInitDialog runs (the default loads the data). The OK and Cancel
// buttons (IDOK, IDCANCEL), Enter (the default button, or IDOK in a dialog without one), Escape
// and the close box reach OnOK and OnCancel; the other controls' notifications arrive as WM_COMMAND in OnCommand. F1 calls
// OnCommandHelp. A template with WS_SYSMENU gives the dialog its window menu (window_menu.h),
// whose choices arrive in OnSysCommand. A dialog without a parent is owned by the program's
// main window when it runs.
#pragma once

#include <kestrum/ui/dialog_items.h>
#include <kestrum/ui/export.h>
#include <kestrum/ui/message_window.h>
#include <kestrum/ui/window_menu.h>

#include <QDialog>

#include <memory>

class KESTRUM_UI_API CDialog : public kestrum::ui::MessageWindow<QDialog>, public kestrum::ui::DialogItems {
    Q_OBJECT
public:
    explicit CDialog(int nIDTemplate, QWidget* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog modally: IDOK, IDCANCEL or the value given to EndDialog; -1 when the
    // template is missing.
    virtual int DoModal();
    // Makes the controls and runs OnInitDialog without showing the dialog; false when the
    // template is missing.
    bool Create(QWidget* pParentWnd = nullptr);
    void EndDialog(int nResult);

    // The window menu, or null for a template without WS_SYSMENU. bRevert restores the menu to
    // "Close" alone and answers null.
    CMenu* GetSystemMenu(bool bRevert);
    void SetIcon(const QIcon& icon, bool bBigIcon);

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();      // saves the data; ends with IDOK if that succeeded
    virtual void OnCancel();  // ends with IDCANCEL
    // The default closes the dialog (as Cancel) for SC_CLOSE and ignores anything else.
    virtual void OnSysCommand(unsigned nID, qintptr lParam);
    virtual bool OnCommandHelp() { return false; }

    qintptr WindowProc(unsigned message, quintptr wParam, qintptr lParam) override;
    void accept() override;
    void reject() override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool ensureCreated();
    void initialize();
    bool m_created = false;
    std::unique_ptr<kestrum::ui::WindowMenu> m_windowMenu;
};
