// The control's events: typing and pasting through the character filter, the plain and the
// decorated display on focus changes, and the unit pick list on the key u.
#include "dimsafe_edit_p.h"

#include "character_filter.h"
#include "connection.h"
#include "library_module.h"
#include "quantity_text.h"

#include <kestrum/editctl/shared_converter.h>
#include <kestrum/editctl/unit_list_dlg.h>
#include <kestrum/ui/message_box.h>
#include <kestrum/ui/resources.h>

#include <QPainter>
#include <qdrawutil.h>

namespace {
// The frame cue while the control has the focus: a raised, double frame.
constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
constexpr std::uint32_t WS_EX_WINDOWEDGE = 0x00000100;
constexpr std::uint32_t kFocusFrame = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

void refusePaste(CDimsafeEdit* control, const QString& pasted) {
    MessageBox(control, kestrum::editctl::pasteRefusedMessage(pasted), QString::fromLatin1(kestrum::editctl::kPasteIgnoredCaption),
               MB_ICONINFORMATION | MB_OK);
}

}  // namespace

bool CDimsafeEdit::m_bUseCommas = true;
double CDimsafeEdit::m_dUNDEF = -999999999.0;

void CDimsafeEditPrivate::takeText(const QString& text) {
    m_dEditValue = text.isEmpty() ? CDimsafeEdit::m_dUNDEF
                                  : kestrum::editctl::RoundValue(kestrum::editctl::parseLeadingNumber(text), m_nPrecision);
}

namespace kestrum::editctl {

void UpdateText(CDimsafeEdit* pEdit, bool bDecorated) {
    CDimsafeEditPrivate& d = CDimsafeEditPrivate::of(*pEdit);
    if (d.m_dEditValue == CDimsafeEdit::m_dUNDEF) return;
    const QString number = formatNumber(d.m_dEditValue, d.m_nPrecision, bDecorated && CDimsafeEdit::m_bUseCommas);
    QString text = number;
    d.m_sDecoratedText.clear();
    if (bDecorated) {
        char symbol[kSymbolBufferSize] = {};
        GetSymbol(d.m_sQuantity, symbol);
        text = decorate(number, QString::fromUtf8(symbol), d.m_bSymbolAfter);
        d.m_sDecoratedText = text;
        d.m_sGroupedNumber = number;
        d.m_nNumberStart = d.m_bSymbolAfter ? 0 : int(text.size() - number.size());
    }
    pEdit->SetWindowText(text);
    // Setting the text leaves the caret at its end, which scrolls a text wider than the box so
    // that its first digits are hidden; an edit control shows a new text from its start.
    pEdit->setCursorPosition(0);
}

}  // namespace kestrum::editctl

CDimsafeEdit::CDimsafeEdit(QWidget* parent) : CEdit(parent), d(std::make_unique<CDimsafeEditPrivate>()) {}

CDimsafeEdit::~CDimsafeEdit() = default;

double CDimsafeEdit::operator=(double value) {
    d->m_dValue = value == m_dUNDEF ? m_dUNDEF : kestrum::editctl::RoundValue(value, d->m_nPrecision);
    return d->m_dValue;
}

double CDimsafeEdit::operator()() const { return d->m_dValue; }

void CDimsafeEdit::PrefixSymbol() { d->m_bSymbolAfter = false; }

unsigned long CDimsafeEdit::GetExStyle() const { return d->m_dwExStyle; }

bool CDimsafeEdit::AllowChar(unsigned nChar, int nPos) const {
    return kestrum::editctl::allowChar(nChar, nPos, d->m_bHasDecimalPoint);
}

void CDimsafeEdit::OnChar(unsigned nChar, unsigned nRepCnt, unsigned nFlags) {
    if (nChar == 'u' || nChar == 'U') {
        ShowUnitList();
        return;
    }
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (AllowChar(nChar, start)) CEdit::OnChar(nChar, nRepCnt, nFlags);
}

bool CDimsafeEdit::OnChange() {
    d->m_bHasDecimalPoint = text().contains(u'.');
    return false;
}

bool CDimsafeEdit::OnSetfocus() {
    kestrum::editctl::UpdateText(this, false);
    d->m_dwExStyle |= kFocusFrame;
    update();
    return false;
}

bool CDimsafeEdit::OnKillfocus() {
    d->takeText(*this);
    kestrum::editctl::UpdateText(this, true);
    d->m_dwExStyle &= ~kFocusFrame;
    update();
    return false;
}

void CDimsafeEdit::OnPaste(const QString& clipboardText) {
    const QString pasted = kestrum::editctl::pasteText(clipboardText);
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (hasFocus()) {
        if (kestrum::editctl::allowPaste(pasted, text(), start, end, d->m_bHasDecimalPoint)) {
            CEdit::OnPaste(pasted);
            return;
        }
        refusePaste(this, pasted);
        return;
    }

    // Text that reaches a control the user is not editing (a drop from another window, which
    // leaves the focus where it was) would land in the decorated display, which is never read
    // back: the box would show a number the host never gets. It goes into the plain number the
    // display shows instead, through the same filter, and is taken as if typed and the control
    // then left.
    QString plain = text();
    if (!plain.isEmpty() && plain == d->m_sDecoratedText) {
        start = end = kestrum::editctl::plainPosition(d->m_sGroupedNumber, d->m_nNumberStart, start);
        plain = d->m_sGroupedNumber;
        plain.remove(u',');
    }
    if (!kestrum::editctl::allowPaste(pasted, plain, start, end, plain.contains(u'.'))) {
        refusePaste(this, pasted);
        return;
    }
    if (pasted.isEmpty()) return;
    plain.replace(start, end - start, pasted);
    d->takeText(plain);
    kestrum::editctl::UpdateText(this, true);
}

void CDimsafeEdit::paintEvent(QPaintEvent* event) {
    CEdit::paintEvent(event);
    if (!(d->m_dwExStyle & kFocusFrame)) return;
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
}

void CDimsafeEdit::ShowUnitList() {
    // The list starts from the number the control shows: what was typed counts before the
    // control is left, as it does once the list takes the focus.
    if (hasFocus()) d->takeText(*this);
    CString unit;
    GetPreferredUnit(unit);
    CUnitListDlg dialog(d->m_dEditValue, unit);
    CStringArray units;
    GetUnits(&units);
    dialog.SetUnits(units);
    // The list keeps its own reference while it is open.
    const auto converter = comrt::InterfacePtr<IMorvane>::Retain(kestrum::editctl::connection().m_pConverter.get());
    dialog.SetConverter(converter.get());
    kestrum::ui::ResourceScope scope(&kestrum::editctl::libraryModule());
    dialog.DoModal();
}

void CDimsafeEdit::GetPreferredUnit(CString& sUnit) {
    kestrum::editctl::Connection& c = kestrum::editctl::connection();
    if (!c.m_bInitialized) return;
    kestrum::editctl::EngineText system(c.m_sCurrentUnitSystem);
    kestrum::editctl::EngineText quantity(d->m_sQuantity);
    if (!kestrum::editctl::checkEngineText(system) || !kestrum::editctl::checkEngineText(quantity)) return;
    comrt::OwnedBstr unit;
    if (FAILED(c.m_pDatabase->UnitSystem_PrefUnit(system.get(), quantity.get(), unit.put()))) {
        kestrum::editctl::ShowEngineError();
        return;
    }
    sUnit = kestrum::editctl::fromEngineText(unit.get());
}

void CDimsafeEdit::GetUnits(CStringArray* pArray) {
    pArray->clear();
    kestrum::editctl::Connection& c = kestrum::editctl::connection();
    if (!c.m_bInitialized) return;
    kestrum::editctl::EngineText quantity(d->m_sQuantity);
    if (!kestrum::editctl::checkEngineText(quantity)) return;
    comrt::OwnedSafeArray units;
    if (FAILED(c.m_pDatabase->Quantity_Unit_Set(quantity.get(), units.put())) || !units) {
        kestrum::editctl::ShowEngineError();
        return;
    }
    kestrum::editctl::appendStrings(units, pArray);
}
