// CDatabaseFileDlg: the first page. It loads "Unit_Database.xml" from the program's folder when
// the sheet is built (before anything is shown), and opens (Overwrite or Append) and saves
// database files.
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

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int nID, int nCode) override;

private:
    void OnFileOpen();
    void OnBrowse();
};
