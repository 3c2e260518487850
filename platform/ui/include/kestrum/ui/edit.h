// CEdit: a single-line edit control with the platform's notifications.
//
// Every way text can enter the control by the user reaches one of two virtual handlers, so a
// derived control can filter it in one place:
//   - a typed character (and backspace) -> OnChar; the default inserts it;
//   - a paste by Ctrl+V, Shift+Insert, the context menu's Paste, a middle click (selection
//     clipboard) or a drop -> OnPaste with the text; the default replaces the selection with it.
// Text set by the program (SetWindowText, setText) is not filtered.
//
// Notifications are handled by the control first (OnChange, OnSetfocus, OnKillfocus; return true
// to keep them from the parent), then signalled (changed, focusGained, focusLost), and a control
// placed on a dialog from a template also sends them to the dialog as WM_COMMAND (EN_CHANGE,
// EN_SETFOCUS, EN_KILLFOCUS). Focus moving to a pop-up menu is not a focus change, as on the
// platform, where menus do not take the focus.
#pragma once

#include <kestrum/ui/export.h>
#include <kestrum/ui/message_window.h>

#include <QClipboard>
#include <QLineEdit>

class KESTRUM_UI_API CEdit : public kestrum::ui::MessageWindow<QLineEdit> {
    Q_OBJECT
public:
    explicit CEdit(QWidget* parent = nullptr);

    QString GetWindowText() const { return text(); }
    void SetWindowText(const QString& text) { setText(text); }
    void GetSel(int& nStartChar, int& nEndChar) const;
    void SetSel(int nStartChar, int nEndChar);  // nEndChar -1: to the end
    void ReplaceSel(const QString& newText);
    void LimitText(int nChars);  // 0: no limit
    void SetReadOnly(bool bReadOnly = true) { setReadOnly(bReadOnly); }

    // Pastes the clipboard's text through OnPaste.
    void Paste();

signals:
    void changed();      // EN_CHANGE
    void focusGained();  // EN_SETFOCUS
    void focusLost();    // EN_KILLFOCUS

protected:
    // nChar is a Unicode code point (8 for backspace).
    virtual void OnChar(unsigned nChar, unsigned nRepCnt, unsigned nFlags);
    virtual void OnPaste(const QString& text);
    virtual bool OnChange() { return false; }
    virtual bool OnSetfocus() { return false; }
    virtual bool OnKillfocus() { return false; }

    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void pasteFrom(QClipboard::Mode mode);
};
