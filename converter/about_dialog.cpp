#include "about_dialog.h"

#include "resource_ids.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : CDialog(IDD_ABOUTBOX, pParent) {}
