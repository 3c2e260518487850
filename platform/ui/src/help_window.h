// The window of the HTML help viewer: the contents tree beside a browser that reads its pages
// and images from the help file.
#pragma once

#include "chm_file.h"

#include <QTextBrowser>
#include <QWidget>

#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

namespace kestrum::ui {

struct HelpTopic;

// Pages live at "chm:/path" addresses, so links between them resolve like ordinary relative links.
QUrl helpUrl(const QString& path);

class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(const ChmFile& file, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void follow(const QUrl& url);
    const ChmFile& m_file;
};

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(std::unique_ptr<ChmFile> file, const QString& fallbackTitle, QWidget* owner);
    ~HelpWindow() override;

    // Opens a page (absolute path inside the file, with an optional #anchor); false when the
    // page cannot be read.
    bool showTopic(const QString& topic);
    const ChmFile& file() const { return *m_file; }
    QTextBrowser* browser() const { return m_browser; }
    QTreeWidget* contents() const { return m_contents; }

private:
    void addTopics(const std::vector<HelpTopic>& topics, QTreeWidgetItem* parent);

    std::unique_ptr<ChmFile> m_file;
    QTreeWidget* m_contents;
    HelpBrowser* m_browser;
};

}  // namespace kestrum::ui
