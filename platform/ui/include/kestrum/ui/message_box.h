// Message boxes. Every box of every program goes through ShowMessageBox, which tests replace
// with a hook (setMessageBoxHook) that records the text, caption, buttons and icon and answers
// in place of the user, so no test blocks on a modal box.
#pragma once

#include <kestrum/ui/constants.h>
#include <kestrum/ui/export.h>

#include <QString>

#include <functional>

class QWidget;

namespace kestrum::ui {

struct KESTRUM_UI_API MessageBoxRequest {
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    unsigned type = MB_OK;

    unsigned buttons() const { return type & MB_TYPEMASK; }
    unsigned icon() const { return type & MB_ICONMASK; }
    int defaultButton() const;  // the result the default button gives (IDOK, IDYES, ...)
};

using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;

// Installs a hook (an empty one removes it); returns the previous hook.
KESTRUM_UI_API MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

// Shows the box (or asks the hook) and returns the button pressed: IDOK, IDCANCEL, IDYES, ...
// Enter presses the default button. Escape and the close box answer IDCANCEL where the box has
// Cancel and IDOK for OK alone; a Yes/No or Abort/Retry/Ignore box has neither, as on the
// platform, and must be answered with a button. Should it still close without one, it answers
// IDNO or IDABORT.
KESTRUM_UI_API int ShowMessageBox(const MessageBoxRequest& request);

}  // namespace kestrum::ui

// A box owned by pOwner (none: no owner), with the caption as given, also when it is empty.
KESTRUM_UI_API int MessageBox(QWidget* pOwner, const QString& text, const QString& caption = {},
                              unsigned nType = MB_OK);
// A box owned by the main window, captioned with the program's name.
KESTRUM_UI_API int AfxMessageBox(const QString& text, unsigned nType = MB_OK, unsigned nIDHelp = 0);
// The same with the text of string nIDPrompt.
KESTRUM_UI_API int AfxMessageBox(int nIDPrompt, unsigned nType = MB_OK, unsigned nIDHelp = 0);
