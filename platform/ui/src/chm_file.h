// A compiled HTML help file, read with chmlib: its pages and images by path, its title, start
// page and contents file.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

struct chmFile;

namespace kestrum::ui {

class ChmFile {
public:
    // Null when the file is missing or is not a compiled help file.
    static std::unique_ptr<ChmFile> open(const QString& path);
    ~ChmFile();
    Q_DISABLE_COPY(ChmFile)

    // The object at an absolute path inside the file ("/index.html"); nothing when it is
    // missing, unreadable or implausibly large.
    std::optional<QByteArray> read(const QString& path) const;

    const QString& title() const { return m_title; }
    const QString& defaultTopic() const { return m_defaultTopic; }  // absolute path, may be empty
    const QString& contentsFile() const { return m_contents; }      // absolute path, may be empty

private:
    explicit ChmFile(chmFile* file);
    void readSystemInformation();
    void findMissingEntries();

    chmFile* m_file;
    QString m_title;
    QString m_defaultTopic;
    QString m_contents;
};

// An absolute path inside a help file for a path as pages and contents write it
// ("dir\\page.htm", "page.html#anchor" -> "/dir/page.htm", "/page.html").
QString helpPath(const QString& local);

}  // namespace kestrum::ui
