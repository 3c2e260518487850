#include "probeck_dlg.h"

#include "about_dlg.h"
#include "probeck_resources.h"

#include <kestrum/ui/app.h>
#include <kestrum/ui/menu.h>
#include <kestrum/ui/resources.h>

#include <QPainter>
#include <QStyle>

using namespace probeck;

CProbeckDlg::CProbeckDlg(QWidget* pParent) : CDialog(IDD_PROBECK_DIALOG, pParent) {
    m_length = 200;
    m_mass = 50.1256;  // kept as 50.126: the control rounds to its default three decimals
    m_time = 33;
    m_temperature = CDimsafeEdit::m_dUNDEF;
    m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : kestrum::ui::findIcon(IDR_MAINFRAME);
    MapCommand(IDC_UNIT_SYSTEMS, BN_CLICKED, [this] { OnUnitSystemsDialog(); });
}

void CProbeckDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_UCONV(pDX, IDC_TEMPERATURE, m_temperature);
    DDX_UCONV(pDX, IDC_TIME, m_time);
    DDX_UCONV(pDX, IDC_MASS, m_mass);
    DDX_UCONV(pDX, IDC_LENGTH, m_length);
}

bool CProbeckDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (CMenu* menu = GetSystemMenu(false)) {
        QString about;
        AfxLoadString(IDS_ABOUTBOX, about);
        if (!about.isEmpty()) {
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, int(IDM_ABOUTBOX), about);
        }
    }
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    return true;
}

void CProbeckDlg::OnSysCommand(unsigned nID, qintptr lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(nID, lParam);
}

void CProbeckDlg::paintEvent(QPaintEvent* event) {
    if (!isMinimized()) {
        CDialog::paintEvent(event);
        return;
    }
    // Where a minimised window is still drawn, it shows the icon in the middle.
    QPainter painter(this);
    painter.eraseRect(rect());
    const int size = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    painter.drawPixmap((width() - size + 1) / 2, (height() - size + 1) / 2, m_hIcon.pixmap(size, size));
}

void CProbeckDlg::OnUnitSystemsDialog() {
    // Edited numbers go back into the storage unit system first; then every control shows its
    // value in the current one, whichever that now is.
    UpdateData(true);
    const double values[] = {m_temperature(), m_time(), m_mass(), m_length()};
    Q_UNUSED(values);
    CDimsafeEdit::ChangeCurrentUnitSystem();
    UpdateData(false);
}
