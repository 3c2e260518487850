// "About Probeck": the program icon, its version and an OK button.
#pragma once

#include <kestrum/ui/dialog.h>

class CAboutDlg : public CDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};
