// CPropertyPage: one tab of a property sheet, made from a dialog template whose caption is the
// tab's title. Its controls are made the first time the page is shown (OnInitDialog then runs),
// not when the sheet is built. OnSetActive runs each time the page becomes current (the default
// loads the data, except the first time, when OnInitDialog has just done so); OnKillActive when
// another page is chosen or OK is pressed (the default saves the data; false keeps the page).
#pragma once

#include <kestrum/ui/dialog_items.h>
#include <kestrum/ui/export.h>
#include <kestrum/ui/message_window.h>

#include <QWidget>

class CMenu;
class CPropertySheet;

class KESTRUM_UI_API CPropertyPage : public kestrum::ui::MessageWindow<QWidget>, public kestrum::ui::DialogItems {
    Q_OBJECT
public:
    explicit CPropertyPage(int nIDTemplate);
    ~CPropertyPage() override;

    QString title() const;
    CPropertySheet* GetParentSheet() const;
    // The sheet's window menu (null outside a sheet).
    CMenu* GetSystemMenu(bool bRevert);

    virtual bool OnSetActive();
    virtual bool OnKillActive();
    virtual void OnOK() {}
    virtual void OnCancel() {}
    // A window-menu command, offered to every page that exists; true when handled.
    virtual bool OnSysCommand(unsigned nID, qintptr lParam);
    // F1 while the page is current; true when handled.
    virtual bool OnCommandHelp() { return false; }

protected:
    virtual bool OnInitDialog();

private:
    friend class CPropertySheet;
    bool ensureCreated();
    bool m_created = false;
    bool m_firstSetActive = true;
};
