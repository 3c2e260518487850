#include "database_file_page.h"

#include "morvane_resources.h"
#include "program_files.h"
#include "resource_ids.h"

#include <kestrum/ui/file_dialog.h>
#include <kestrum/ui/message_box.h>
#include <kestrum/ui/wait_cursor.h>

#include <QLabel>

namespace {
const char kFileFilter[] = "Morvane Files (*.xml)|*.xml|All Files (*.*)|*.*||";
constexpr int kPictureSize = 96;
}  // namespace

CDatabaseFileDlg::CDatabaseFileDlg(MorvaneEngine& engine, const QString& programDir)
    : CMorvanePage(IDD_DATABASE_FILE, engine, programDir),
      m_sFileName(programDir + QString::fromLatin1(kDatabaseFileName)) {}

bool CDatabaseFileDlg::OnInitDialog() {
    CMorvanePage::OnInitDialog();
    if (auto* picture = DlgItem<QLabel>(IDC_PICTURE)) picture->setPixmap(DatabasePicture(kPictureSize));
    if (FAILED(m_engine.Initialize(m_sFileName))) ShowEngineError();
    CheckRadioButton(IDC_OVERWRITE, IDC_APPEND, IDC_OVERWRITE);
    return true;
}

void CDatabaseFileDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_FILE_NAME, m_sFileName); }

bool CDatabaseFileDlg::OnCommand(int nID, int nCode) {
    if (nCode != BN_CLICKED) return false;
    switch (nID) {
        // The flag follows the clicks, not the data exchange.
        case IDC_OVERWRITE: m_nReadFlag = OVERWRITE; return true;
        case IDC_APPEND: m_nReadFlag = APPEND; return true;
        case IDC_FILE_OPEN: OnFileOpen(); return true;
        case IDC_FILE_SAVE: SaveDatabase(); return true;
        case IDC_BROWSE: OnBrowse(); return true;
        default: return false;
    }
}

void CDatabaseFileDlg::OnFileOpen() {
    UpdateData(true);
    CWaitCursor wait;
    if (FAILED(m_engine.ReadUnitDatabase(m_sFileName, tagREAD_FLAG(m_nReadFlag))))
        ShowEngineError();
    else
        MessageBox(this, QStringLiteral("Unit Database File Read Successfully"), QStringLiteral("Message"),
                   MB_OK | MB_ICONINFORMATION);
}

bool CDatabaseFileDlg::SaveDatabase() {
    UpdateData(true);
    CWaitCursor wait;
    if (FAILED(m_engine.WriteUnitDatabase(m_sFileName))) {
        ShowEngineError();
        return false;
    }
    MessageBox(this, QStringLiteral("Unit Database File Written Successfully"), QStringLiteral("Message"),
               MB_OK | MB_ICONINFORMATION);
    return true;
}

void CDatabaseFileDlg::OnBrowse() {
    UpdateData(true);
    CFileDialog dialog(true, QStringLiteral("xml"), m_sFileName, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       QString::fromLatin1(kFileFilter), this);
    if (dialog.DoModal() == IDOK) m_sFileName = dialog.GetPathName();
    UpdateData(false);
}
