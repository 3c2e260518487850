// CListBox: a single-selection list box with the platform's operations.
//
// A sorted list box (SetSorted, or LBS_SORT in a template) places each AddString by comparing
// without regard to case, as the platform's list boxes do; InsertString always puts the text at
// the index given, also in a sorted list. The selection changed by the program (SetCurSel,
// SelectString, deletions) sends no notification; one changed by the user signals selChange and,
// for a notifying list box on a dialog, sends LBN_SELCHANGE to the dialog.
//
// As the platform's list boxes, it does not scroll sideways: an entry wider than the box is cut
// short with "…" and shows its whole text as a tooltip. ResetContent scrolls back to the top. A
// list box from a template keeps its height to whole rows (unless LBS_NOINTEGRALHEIGHT), so the
// last row shown is never cut in half.
#pragma once

#include <kestrum/ui/export.h>
#include <kestrum/ui/message_window.h>

#include <QListWidget>

class KESTRUM_UI_API CListBox : public kestrum::ui::MessageWindow<QListWidget> {
    Q_OBJECT
public:
    explicit CListBox(QWidget* parent = nullptr);

    void SetSorted(bool bSorted) { m_sorted = bSorted; }
    bool IsSorted() const { return m_sorted; }
    // Trims the height, now and on every resize, to the frame and a whole number of rows.
    void SetIntegralHeight(bool bIntegral);

    int AddString(const QString& text);                 // the new index
    int InsertString(int nIndex, const QString& text);  // nIndex -1: at the end; LB_ERR if out of range
    int DeleteString(int nIndex);                       // the number left, or LB_ERR
    void ResetContent();
    int GetCount() const { return count(); }
    QString GetText(int nIndex) const;  // empty for a bad index
    void GetText(int nIndex, QString& rString) const { rString = GetText(nIndex); }

    int GetCurSel() const;             // LB_ERR when nothing is selected
    int SetCurSel(int nSelect);        // -1 clears the selection (and answers LB_ERR, as the platform does)
    // The first entry after nStartAfter (-1: from the top), wrapping round, that begins with
    // (FindString, SelectString) or equals (FindStringExact) the text, ignoring case; LB_ERR if none.
    int FindString(int nStartAfter, const QString& prefix) const;
    int FindStringExact(int nStartAfter, const QString& text) const;
    int SelectString(int nStartAfter, const QString& prefix);  // leaves the selection if none matches

signals:
    void selChange();  // LBN_SELCHANGE
    void dblClk();     // LBN_DBLCLK

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int rowHeight() const;
    int integralHeight(int height) const;

    bool m_sorted = false;
    bool m_integralHeight = false;
    int m_quiet = 0;  // > 0 while the program itself changes the list
    friend class QuietListChange;
};
