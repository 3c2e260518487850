#include <kestrum/ui/dialog.h>

#include "modal_owner.h"
#include "start_focus.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>

CDialog::CDialog(int nIDTemplate, QWidget* pParentWnd)
    : MessageWindow<QDialog>(pParentWnd), DialogItems(this, nIDTemplate) {}

CDialog::~CDialog() = default;

bool CDialog::ensureCreated() {
    if (m_created) return true;
    if (!createControls()) return false;
    const kestrum::ui::DialogTemplate* t = dialogTemplate();
    setWindowTitle(t->caption);
    setFixedSize(kestrum::ui::mapDialogSize({t->cx, t->cy}, baseUnits()));
    if (t->style & WS_SYSMENU) m_windowMenu = std::make_unique<kestrum::ui::WindowMenu>(this);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] { OnCommandHelp(); });
    m_created = true;
    return true;
}

int CDialog::DoModal() {
    if (!ensureCreated()) return -1;
    const kestrum::ui::ModalOwner owner(this);
    initialize();
    const int result = exec();
    return result == QDialog::Rejected ? IDCANCEL : result;
}

bool CDialog::Create(QWidget* pParentWnd) {
    if (pParentWnd) setParent(pParentWnd, windowFlags());
    if (!ensureCreated()) return false;
    initialize();
    return true;
}

void CDialog::initialize() {
    // Each run starts with the window menu as the platform makes it, so items a dialog appends
    // in OnInitDialog appear once however often it runs.
    if (m_windowMenu) m_windowMenu->reset();
    OnInitDialog();
}

void CDialog::EndDialog(int nResult) { done(nResult); }

CMenu* CDialog::GetSystemMenu(bool bRevert) {
    if (!m_windowMenu) return nullptr;
    if (bRevert) {
        m_windowMenu->reset();
        return nullptr;
    }
    return m_windowMenu->menu();
}

void CDialog::SetIcon(const QIcon& icon, bool bBigIcon) {
    Q_UNUSED(bBigIcon);  // one icon serves both sizes here
    setWindowIcon(icon);
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnSysCommand(unsigned nID, qintptr lParam) {
    Q_UNUSED(lParam);
    if ((nID & 0xFFF0) == SC_CLOSE) OnCancel();
}

qintptr CDialog::WindowProc(unsigned message, quintptr wParam, qintptr lParam) {
    if (message == WM_SYSCOMMAND) {
        OnSysCommand(unsigned(wParam), lParam);
        return 0;
    }
    const int id = int(wParam & 0xFFFF);
    const bool clicked = message == WM_COMMAND && ((wParam >> 16) & 0xFFFF) == unsigned(BN_CLICKED);
    if (clicked && id == IDOK) {
        OnOK();
        return 0;
    }
    if (clicked && id == IDCANCEL) {
        OnCancel();
        return 0;
    }
    return MessageWindow<QDialog>::WindowProc(message, wParam, lParam);
}

void CDialog::accept() { OnOK(); }

void CDialog::reject() { OnCancel(); }

void CDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (!enter || modifiers != Qt::NoModifier) {
        MessageWindow<QDialog>::keyPressEvent(event);
        return;
    }
    // Qt presses a visible default button and otherwise does nothing; the platform's dialogs
    // then send IDOK, so a dialog without buttons closes on Enter as well.
    for (const QPushButton* button : findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isVisible() && button->window() == this) {
            MessageWindow<QDialog>::keyPressEvent(event);
            return;
        }
    }
    event->accept();
    SendMessage(this, WM_COMMAND, kestrum::ui::commandParam(IDOK, BN_CLICKED), 0);
}

void CDialog::contextMenuEvent(QContextMenuEvent* event) {
    if (m_windowMenu && m_windowMenu->handleContextMenu(event)) return;
    MessageWindow<QDialog>::contextMenuEvent(event);
}

void CDialog::showEvent(QShowEvent* event) {
    MessageWindow<QDialog>::showEvent(event);
    if (!event->spontaneous()) kestrum::ui::selectEditFocusedAtStart(this);
}
