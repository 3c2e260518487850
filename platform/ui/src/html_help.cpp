#include <kestrum/ui/html_help.h>

#include "help_window.h"

#include <QFileInfo>
#include <QPointer>

#include <map>

QWidget* HtmlHelp(QWidget* hwndCaller, const QString& pszFile, unsigned uCommand) {
    if (uCommand != HH_DISPLAY_TOPIC) return nullptr;
    const qsizetype separator = pszFile.indexOf(QStringLiteral("::"));
    const QString path = separator < 0 ? pszFile : pszFile.left(separator);
    const QString topic = separator < 0 ? QString() : pszFile.mid(separator + 2);
    const QFileInfo info(path);

    // One window per file, as the platform's viewer keeps it.
    static std::map<QString, QPointer<kestrum::ui::HelpWindow>> windows;
    QPointer<kestrum::ui::HelpWindow>& window = windows[info.absoluteFilePath()];
    if (window) {
        if (!topic.isEmpty()) window->showTopic(topic);
    } else {
        std::unique_ptr<kestrum::ui::ChmFile> file = kestrum::ui::ChmFile::open(path);
        if (!file) return nullptr;
        auto* created = new kestrum::ui::HelpWindow(std::move(file), info.completeBaseName(),
                                                    hwndCaller ? hwndCaller->window() : nullptr);
        const QString start = topic.isEmpty() ? created->file().defaultTopic() : topic;
        if (start.isEmpty() || !created->showTopic(start)) {
            delete created;
            return nullptr;
        }
        window = created;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
