// The state of one CDimsafeEdit, and the routines of the library that work on it.
#pragma once

#include <kestrum/editctl/dimsafe_edit.h>

#include <cstdint>

class CDimsafeEditPrivate {
public:
    static CDimsafeEditPrivate& of(CDimsafeEdit& control) { return *control.d; }

    double m_dValue = CDimsafeEdit::m_dUNDEF;       // storage unit system; what operator() returns
    bool m_bSymbolAfter = true;
    unsigned short m_nPrecision = 3;
    double m_dEditValue = CDimsafeEdit::m_dUNDEF;   // current unit system, as last taken from or put into the text
    double m_dShownValue = CDimsafeEdit::m_dUNDEF;  // as the last exchange placed it; a difference means the user changed it
    bool m_bHasDecimalPoint = false;
    CString m_sQuantity;
    bool m_bFirstExchange = true;
    std::uint32_t m_dwExStyle = 0;

    // The last decorated display: its whole text and where the grouped number stands in it, so
    // text dropped onto the display can go into the number the user sees.
    QString m_sDecoratedText;
    QString m_sGroupedNumber;
    int m_nNumberStart = 0;

    // Reads the text into m_dEditValue as leaving the control does: empty is no value, anything
    // else the number it starts with, rounded to the control's decimals.
    void takeText(const QString& text);
    void takeText(const CDimsafeEdit& control) { takeText(control.text()); }
};

namespace kestrum::editctl {
// Writes m_dEditValue into the control's text: decorated (grouped, with the symbol) or plain.
// A control without a value keeps its text.
void UpdateText(CDimsafeEdit* pEdit, bool bDecorated);
}  // namespace kestrum::editctl
