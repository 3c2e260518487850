#include <kestrum/ui/file_dialog.h>

#include <kestrum/ui/app.h>

#include <QFileDialog>
#include <QFileInfo>

namespace kestrum::ui {

QStringList nameFilters(const QString& platformFilter) {
    // Pairs of description and patterns; the list ends at the first empty description.
    const QStringList parts = platformFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (description.isEmpty()) break;
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            patterns << (p == QStringLiteral("*.*") ? QStringLiteral("*") : p);
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        // Qt reads the patterns from the parentheses that end the description, so the platform's
        // own "(*.xml)" there is replaced by the patterns actually given.
        if (description.endsWith(u')')) {
            const qsizetype open = description.lastIndexOf(u'(');
            if (open >= 0) description = description.left(open).trimmed();
        }
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    return filters;
}

}  // namespace kestrum::ui

CFileDialog::CFileDialog(bool bOpenFileDialog, const QString& defExt, const QString& fileName, unsigned nFlags,
                         const QString& filter, QWidget* pParentWnd)
    : m_open(bOpenFileDialog), m_defExt(defExt), m_path(fileName), m_flags(nFlags), m_filter(filter),
      m_parent(pParentWnd) {}

int CFileDialog::DoModal() {
    // Qt's own dialog everywhere: it looks the same on every desktop and tests can drive it.
    QFileDialog dialog(m_parent ? m_parent : AfxGetMainWnd());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(m_open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(m_open && (m_flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(m_flags & OFN_OVERWRITEPROMPT));
    if (!m_filter.isEmpty()) dialog.setNameFilters(kestrum::ui::nameFilters(m_filter));
    if (!m_defExt.isEmpty()) dialog.setDefaultSuffix(m_defExt);
    if (!m_path.isEmpty()) {
        const QFileInfo initial(m_path);
        if (initial.dir().exists()) dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return IDCANCEL;
    m_path = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath();
    return IDOK;
}

QString CFileDialog::GetFileName() const { return QFileInfo(m_path).fileName(); }
