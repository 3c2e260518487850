// CAboutDlg: the About box, opened from the window menu's "About Morvane..." item.
#pragma once

#include <kestrum/ui/dialog.h>

class CAboutDlg : public CDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};
