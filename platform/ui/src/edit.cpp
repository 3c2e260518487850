#include <kestrum/ui/edit.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include <algorithm>

CEdit::CEdit(QWidget* parent) : MessageWindow<QLineEdit>(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!OnChange()) emit changed();
    });
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    if (hasSelectedText()) {
        nStartChar = selectionStart();
        nEndChar = selectionEnd();
    } else {
        nStartChar = nEndChar = cursorPosition();
    }
}

void CEdit::SetSel(int nStartChar, int nEndChar) {
    const int length = int(text().size());
    if (nEndChar < 0 || nEndChar > length) nEndChar = length;
    nStartChar = qBound(0, nStartChar, length);
    setSelection(nStartChar, nEndChar - nStartChar);
}

void CEdit::ReplaceSel(const QString& newText) { insert(newText); }

void CEdit::LimitText(int nChars) { setMaxLength(nChars > 0 ? nChars : 32767); }

void CEdit::Paste() { pasteFrom(QClipboard::Clipboard); }

void CEdit::OnChar(unsigned nChar, unsigned nRepCnt, unsigned nFlags) {
    Q_UNUSED(nRepCnt);
    Q_UNUSED(nFlags);
    if (nChar == '\b') {
        backspace();
    } else {
        const char32_t c = nChar;
        insert(QString::fromUcs4(&c, 1));
    }
}

void CEdit::OnPaste(const QString& text) { insert(text); }

void CEdit::pasteFrom(QClipboard::Mode mode) {
    if (isReadOnly()) return;
    const QMimeData* data = QApplication::clipboard()->mimeData(mode);
    if (data && data->hasText()) OnPaste(data->text());
}

void CEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteFrom(QClipboard::Clipboard);
        event->accept();
        return;
    }
    const QString text = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    const bool typed = !command && !text.isEmpty() && !isReadOnly() &&
                       std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() || c.isSurrogate() || c == u'\b'; });
    if (!typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    for (char32_t c : text.toUcs4()) OnChar(c, 1, 0);
    event->accept();
}

void CEdit::inputMethodEvent(QInputMethodEvent* event) {
    const bool plainCommit = !event->commitString().isEmpty() && event->preeditString().isEmpty() &&
                             event->replacementLength() == 0;
    if (!plainCommit || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    for (char32_t c : event->commitString().toUcs4()) OnChar(c, 1, 0);
    event->accept();
}

void CEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The standard Paste inserts the clipboard unfiltered: send it through OnPaste instead. Its
    // text is looked up with Qt's own translation, so this holds in every language.
    const QString pasteText = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(u'\t', 0, 0) != pasteText) continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, &CEdit::Paste);
    }
    menu->popup(event->globalPos());
    event->accept();
}

void CEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void CEdit::mouseReleaseEvent(QMouseEvent* event) {
    // A middle click pastes the selection clipboard where the platform has one; the standard
    // handling would insert it unfiltered.
    if (event->button() != Qt::MiddleButton) {
        QLineEdit::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (!QApplication::clipboard()->supportsSelection()) return;
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    pasteFrom(QClipboard::Selection);
}

void CEdit::dropEvent(QDropEvent* event) {
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    OnPaste(event->mimeData()->text());
    // A copy, never a move: the source keeps its text even when it is this control.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CEdit::focusInEvent(QFocusEvent* event) {
    // The handler runs before the standard handling, so a text it sets is selected when the
    // focus came by Tab, as the platform's dialogs select an edit's text after its notification.
    if (event->reason() != Qt::PopupFocusReason && !OnSetfocus()) emit focusGained();
    QLineEdit::focusInEvent(event);
}

void CEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && !OnKillfocus()) emit focusLost();
}
