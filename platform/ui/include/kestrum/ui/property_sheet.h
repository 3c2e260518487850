// CPropertySheet: tabbed pages with OK and Cancel (no Apply), as one modal dialog.
//
// The sheet does not own its pages (they are usually members of the program); it gives them
// back when it is destroyed. Choosing another tab asks the current page's OnKillActive first
// and stays when it refuses. OK runs the current page's OnKillActive, then OnQueryClose(IDOK),
// then every existing page's OnOK, and ends; Cancel, Escape and the close box run
// OnQueryClose(IDCANCEL), then the pages' OnCancel, and end. OnQueryClose can keep the sheet
// open. F1 goes to the current page; window-menu commands are offered to every existing page.
// Tabs that do not fit the sheet's width scroll in one row, or stack in rows (EnableStackedTabs).
#pragma once

#include <kestrum/ui/export.h>
#include <kestrum/ui/message_window.h>
#include <kestrum/ui/property_page.h>
#include <kestrum/ui/window_menu.h>

#include <QDialog>
#include <QPointer>

#include <vector>

class QPushButton;
class QTabWidget;

namespace kestrum::ui {
class StackedTabBar;
}

class KESTRUM_UI_API CPropertySheet : public kestrum::ui::MessageWindow<QDialog> {
    Q_OBJECT
public:
    explicit CPropertySheet(const QString& caption, QWidget* pParentWnd = nullptr, int iSelectPage = 0);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return int(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const { return m_active; }
    // Makes the page current, asking the current one first; false when it refused.
    bool SetActivePage(int nPage);
    void SetTitle(const QString& caption) { setWindowTitle(caption); }
    // Lays the tabs out in as many rows as the width of the widest page needs, the row of the
    // current tab next to the page, instead of one row with scroll arrows. Only before the sheet
    // is built; answers whether the tabs stack.
    bool EnableStackedTabs(bool bStacked = true);

    int DoModal();
    // Builds the sheet and shows its first page's contents without running it; false when a
    // page's template is missing.
    bool Create(QWidget* pParentWnd = nullptr);
    void EndDialog(int nResult);
    CMenu* GetSystemMenu(bool bRevert);

    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    virtual void OnOK();
    virtual void OnCancel();
    virtual bool OnQueryClose(int nResult);
    virtual void OnSysCommand(unsigned nID, qintptr lParam);

    qintptr WindowProc(unsigned message, quintptr wParam, qintptr lParam) override;
    void accept() override;
    void reject() override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool build();
    void tabChosen(int index);
    bool activate(int index);
    void stepPage(int step);
    void focusFirstTabStop(CPropertyPage* page);

    QTabWidget* m_tabs;
    kestrum::ui::StackedTabBar* m_stackedTabs = nullptr;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    kestrum::ui::WindowMenu m_windowMenu;
    std::vector<QPointer<CPropertyPage>> m_pages;
    int m_active = -1;
    int m_startPage;
    bool m_built = false;
};
