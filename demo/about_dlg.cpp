#include "about_dlg.h"

#include "probeck_resources.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : CDialog(probeck::IDD_ABOUTBOX, pParent) {}
