#include "database_file_page.h"

#include "command_routing.h"
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
      m_sFileName(programDir + QString::fromLatin1(kDatabaseFileName)),
      m_sDatabaseFile(m_sFileName) {}

bool CDatabaseFileDlg::OnInitDialog() {
    CMorvanePage::OnInitDialog();
    if (auto* picture = DlgItem<QLabel>(IDC_PICTURE)) picture->setPixmap(DatabasePicture(kPictureSize));
    if (FAILED(m_engine.Initialize(m_sFileName))) ShowEngineError();
    CheckRadioButton(IDC_OVERWRITE, IDC_APPEND, IDC_OVERWRITE);
    return true;
}

void CDatabaseFileDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_FILE_NAME, m_sFileName); }

bool CDatabaseFileDlg::OnCommand(int nID, int nCode) {
    // The flag follows the clicks, not the data exchange.
    return nCode == BN_CLICKED && RouteCommand(nID, {{IDC_OVERWRITE, [this] { m_nReadFlag = OVERWRITE; }},
                                                     {IDC_APPEND, [this] { m_nReadFlag = APPEND; }},
                                                     {IDC_FILE_OPEN, [this] { OnFileOpen(); }},
                                                     {IDC_FILE_SAVE, [this] { SaveDatabase(); }},
                                                     {IDC_BROWSE, [this] { OnBrowse(); }}});
}

void CDatabaseFileDlg::OnFileOpen() {
    UpdateData(true);
    if (m_nReadFlag == OVERWRITE && !KeepUnsavedChanges()) return;
    CWaitCursor wait;
    if (FAILED(m_engine.ReadUnitDatabase(m_sFileName, tagREAD_FLAG(m_nReadFlag)))) {
        ShowEngineError();
        return;
    }
    if (m_nReadFlag == OVERWRITE) m_sDatabaseFile = m_sFileName;
    MessageBox(this, QStringLiteral("Unit Database File Read Successfully"), QStringLiteral("Message"),
               MB_OK | MB_ICONINFORMATION);
}

bool CDatabaseFileDlg::KeepUnsavedChanges() {
    if (!m_engine.HasUnsavedChanges()) return true;
    // The box names the file to read, so Yes cannot write the current database there: it goes
    // back where it came from, and the question says so.
    const QString question =
        QStringLiteral("The Unit Database has unsaved changes, which reading %1 would discard.\n\n"
                       "Save them to %2 first?")
            .arg(m_sFileName, m_sDatabaseFile);
    switch (MessageBox(this, question, QStringLiteral("Morvane"), MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES: return WriteDatabase(m_sDatabaseFile, false);
        case IDNO: return true;
        default: return false;
    }
}

bool CDatabaseFileDlg::SaveDatabase() {
    UpdateData(true);
    return WriteDatabase(m_sFileName, true);
}

bool CDatabaseFileDlg::WriteDatabase(const QString& location, bool bTellSuccess) {
    CWaitCursor wait;
    if (FAILED(m_engine.WriteUnitDatabase(location))) {
        ShowEngineError();
        return false;
    }
    m_sDatabaseFile = location;
    if (bTellSuccess)
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
