#include "program_files.h"

#include <kestrum/ui/html_help.h>
#include <kestrum/ui/message_box.h>

#include <QDir>
#include <QFileInfo>

QString programDirectory() {
    const QFileInfo exe(QStringLiteral("/proc/self/exe"));
    const QString target = exe.symLinkTarget();
    const QString dir = target.isEmpty() ? QDir::currentPath() : QFileInfo(target).absolutePath();
    return dir.endsWith(u'/') ? dir : dir + u'/';
}

void ShowHelp(QWidget* pOwner, const QString& programDir) {
    const QString path = programDir + QString::fromLatin1(kHelpFileName);
    if (!HtmlHelp(pOwner, path, HH_DISPLAY_TOPIC))
        MessageBox(pOwner, QStringLiteral("Help File Not Found"), QStringLiteral("Help Error"), MB_OK | MB_ICONERROR);
}
