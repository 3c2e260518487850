// CDatabaseFileDlg: the first page. It loads "Unit_Database.xml" from the program's folder when
// the sheet is built (before anything is shown), and opens (Overwrite or Append) and saves
// database files. An Overwrite read over unsaved changes asks first whether to save them to the
// file the database came from.
#pragma once

#include "morvane_page.h"

class CDatabaseFileDlg : public CMorvanePage {
    Q_OBJECT
public:
    CDatabaseFileDlg(MorvaneEngine& engine, const QString& programDir);

    // "File: Save": writes the database to the named file and says how that went; true when
    // the file was written. The sheet uses it too, to save before closing.
    bool SaveDatabase();

    QString m_sFileName;
    int m_nReadFlag = OVERWRITE;
    // The file the database in the engine was last read from (Overwrite) or written to.
    QString m_sDatabaseFile;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int nID, int nCode) override;

private:
    void OnFileOpen();
    void OnBrowse();
    // Before a read that replaces the database: false when the user keeps what is there.
    bool KeepUnsavedChanges();
    bool WriteDatabase(const QString& location, bool bTellSuccess);
};
