// A dialog without a parent is owned by the program's main window while it runs modally, and
// only then, so it stays above that window yet is never deleted with it.
#pragma once

#include <kestrum/ui/app.h>

#include <QWidget>

namespace kestrum::ui {

class ModalOwner {
public:
    explicit ModalOwner(QWidget* dialog) : m_dialog(dialog) {
        if (dialog->parentWidget()) return;
        QWidget* owner = AfxGetMainWnd();
        if (!owner || owner->window() == dialog) return;
        m_owned = true;
        dialog->setParent(owner, dialog->windowFlags());
    }
    ~ModalOwner() {
        if (m_owned) m_dialog->setParent(nullptr, m_dialog->windowFlags());
    }
    Q_DISABLE_COPY(ModalOwner)

private:
    QWidget* m_dialog;
    bool m_owned = false;
};

}  // namespace kestrum::ui
