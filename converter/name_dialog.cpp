#include "name_dialog.h"

#include "resource_ids.h"

namespace {
constexpr int kMaxNameChars = 100;
}  // namespace

CNameDlg::CNameDlg(QWidget* pParent) : CDialog(IDD_NAME, pParent) {}

void CNameDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_NAME, m_sName);
    DDV_MaxChars(pDX, m_sName, kMaxNameChars);
}
