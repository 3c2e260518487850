// CFileDialog: the open (or save) file dialog, taking the platform's filter syntax:
// "Text (*.txt)|*.txt|All Files (*.*)|*.*||" (description and patterns in turn, patterns split
// by ";", "*.*" meaning every file). OFN_FILEMUSTEXIST accepts existing files only; the default
// extension is added to a name typed without one.
#pragma once

#include <kestrum/ui/constants.h>
#include <kestrum/ui/export.h>

#include <QString>
#include <QStringList>

class QWidget;

namespace kestrum::ui {
// The filter as Qt name filters: "Text (*.txt)", "All Files (*)".
KESTRUM_UI_API QStringList nameFilters(const QString& platformFilter);
}  // namespace kestrum::ui

class KESTRUM_UI_API CFileDialog {
public:
    CFileDialog(bool bOpenFileDialog, const QString& defExt = {}, const QString& fileName = {},
                unsigned nFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const QString& filter = {},
                QWidget* pParentWnd = nullptr);

    int DoModal();                     // IDOK or IDCANCEL
    QString GetPathName() const { return m_path; }  // the chosen file's absolute path
    QString GetFileName() const;       // its name without the folder

private:
    bool m_open;
    QString m_defExt;
    QString m_path;
    unsigned m_flags;
    QString m_filter;
    QWidget* m_parent;
};
