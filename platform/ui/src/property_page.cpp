#include <kestrum/ui/property_page.h>

#include <kestrum/ui/property_sheet.h>

CPropertyPage::CPropertyPage(int nIDTemplate) : MessageWindow<QWidget>(nullptr), DialogItems(this, nIDTemplate) {}

CPropertyPage::~CPropertyPage() = default;

QString CPropertyPage::title() const {
    const kestrum::ui::DialogTemplate* t = dialogTemplate();
    return t ? t->caption : QString();
}

CPropertySheet* CPropertyPage::GetParentSheet() const { return qobject_cast<CPropertySheet*>(window()); }

CMenu* CPropertyPage::GetSystemMenu(bool bRevert) {
    CPropertySheet* sheet = GetParentSheet();
    return sheet ? sheet->GetSystemMenu(bRevert) : nullptr;
}

bool CPropertyPage::ensureCreated() {
    if (m_created) return true;
    if (!createControls()) return false;
    m_created = true;
    OnInitDialog();
    return true;
}

bool CPropertyPage::OnInitDialog() {
    UpdateData(false);
    return true;
}

bool CPropertyPage::OnSetActive() {
    // The first time, OnInitDialog has just loaded the data.
    if (m_firstSetActive) m_firstSetActive = false;
    else UpdateData(false);
    return true;
}

bool CPropertyPage::OnKillActive() { return UpdateData(true); }

bool CPropertyPage::OnSysCommand(unsigned nID, qintptr lParam) {
    Q_UNUSED(nID);
    Q_UNUSED(lParam);
    return false;
}
