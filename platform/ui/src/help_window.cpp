#include "help_window.h"

#include "help_contents.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QImage>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrum::ui {
namespace {

constexpr char kScheme[] = "chm";

// Links written for the platform's viewer name a page inside a help file after "::"
// ("ms-its:help.chm::/page.html"); they all mean a page of this file here.
QString pageInsideHelpFile(const QUrl& url) {
    const QString text = url.toString();
    const qsizetype separator = text.indexOf(QStringLiteral("::"));
    return separator < 0 ? QString() : text.mid(separator + 2);
}

}  // namespace

QUrl helpUrl(const QString& path) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kScheme));
    url.setPath(helpPath(path));
    const qsizetype hash = path.indexOf(u'#');
    if (hash >= 0) url.setFragment(path.mid(hash + 1));
    return url;
}

HelpBrowser::HelpBrowser(const ChmFile& file, QWidget* parent) : QTextBrowser(parent), m_file(file) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::follow);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (name.scheme() != QLatin1String(kScheme)) return {};
    const std::optional<QByteArray> data = m_file.read(name.path());
    if (!data) return {};
    if (type == QTextDocument::ImageResource) return QImage::fromData(*data);
    return *data;
}

void HelpBrowser::follow(const QUrl& url) {
    const QString inside = pageInsideHelpFile(url);
    if (!inside.isEmpty()) setSource(helpUrl(inside));
    else if (url.scheme() == QLatin1String(kScheme)) setSource(url);
    else QDesktopServices::openUrl(url);
}

HelpWindow::HelpWindow(std::unique_ptr<ChmFile> file, const QString& fallbackTitle, QWidget* owner)
    : QWidget(owner, Qt::Window), m_file(std::move(file)), m_contents(new QTreeWidget), m_browser(new HelpBrowser(*m_file, nullptr)) {
    setWindowTitle(m_file->title().isEmpty() ? fallbackTitle : m_file->title());
    m_contents->setHeaderHidden(true);
    m_contents->setRootIsDecorated(true);
    if (!m_file->contentsFile().isEmpty()) {
        if (const std::optional<QByteArray> hhc = m_file->read(m_file->contentsFile()))
            addTopics(parseContents(QString::fromUtf8(*hhc)), nullptr);
    }
    m_contents->expandAll();
    connect(m_contents, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const QString local = item->data(0, Qt::UserRole).toString();
        if (!local.isEmpty()) showTopic(local);
    });

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 560});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(760, 520);
}

HelpWindow::~HelpWindow() {
    // The browser reads from the file until it is gone.
    delete m_browser;
}

void HelpWindow::addTopics(const std::vector<HelpTopic>& topics, QTreeWidgetItem* parent) {
    for (const HelpTopic& topic : topics) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_contents);
        item->setText(0, topic.name);
        item->setData(0, Qt::UserRole, topic.local);
        addTopics(topic.children, item);
    }
}

bool HelpWindow::showTopic(const QString& topic) {
    if (!m_file->read(helpPath(topic))) return false;
    m_browser->setSource(helpUrl(topic));
    return true;
}

}  // namespace kestrum::ui
