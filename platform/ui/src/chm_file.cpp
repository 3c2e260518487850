#include "chm_file.h"

#include <chm_lib.h>

#include <QFile>
#include <QStringList>

#include <cstring>

namespace kestrum::ui {
namespace {

// Nothing a help page needs comes near this; a larger claimed size is a damaged file.
constexpr LONGUINT64 kMaxObjectSize = 64u << 20;

// Entries of the file's /#SYSTEM object, which names the contents file, start page and title.
constexpr int kSystemContents = 0;
constexpr int kSystemDefaultTopic = 2;
constexpr int kSystemTitle = 3;

QString nulTerminated(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf('\0');
    return QString::fromUtf8(end < 0 ? bytes : bytes.left(end)).trimmed();
}

int enumerateEntry(chmFile*, chmUnitInfo* ui, void* context) {
    static_cast<QStringList*>(context)->append(QString::fromUtf8(ui->path));
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

QString helpPath(const QString& local) {
    QString path = local.section(u'#', 0, 0);
    path.replace(u'\\', u'/');
    if (!path.startsWith(u'/')) path.prepend(u'/');
    return path;
}

std::unique_ptr<ChmFile> ChmFile::open(const QString& path) {
    if (!QFile::exists(path)) return nullptr;
    chmFile* file = chm_open(QFile::encodeName(path).constData());
    if (!file) return nullptr;
    std::unique_ptr<ChmFile> chm(new ChmFile(file));
    chm->readSystemInformation();
    chm->findMissingEntries();
    return chm;
}

ChmFile::ChmFile(chmFile* file) : m_file(file) {}

ChmFile::~ChmFile() { chm_close(m_file); }

std::optional<QByteArray> ChmFile::read(const QString& path) const {
    chmUnitInfo ui{};
    const QByteArray name = path.toUtf8();
    if (chm_resolve_object(m_file, name.constData(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    if (ui.length > kMaxObjectSize) return std::nullopt;
    QByteArray data(qsizetype(ui.length), '\0');
    if (ui.length > 0 &&
        chm_retrieve_object(m_file, &ui, reinterpret_cast<unsigned char*>(data.data()), 0, LONGINT64(ui.length)) !=
            LONGINT64(ui.length))
        return std::nullopt;
    return data;
}

void ChmFile::readSystemInformation() {
    const std::optional<QByteArray> system = read(QStringLiteral("/#SYSTEM"));
    if (!system) return;
    // A version word, then entries of a 16-bit code, a 16-bit length and that many bytes.
    qsizetype pos = 4;
    while (pos + 4 <= system->size()) {
        const auto byte = [&](qsizetype i) { return int(static_cast<unsigned char>(system->at(i))); };
        const int code = byte(pos) | (byte(pos + 1) << 8);
        const int length = byte(pos + 2) | (byte(pos + 3) << 8);
        if (pos + 4 + length > system->size()) break;
        const QString value = nulTerminated(system->mid(pos + 4, length));
        if (code == kSystemContents && !value.isEmpty()) m_contents = helpPath(value);
        if (code == kSystemDefaultTopic && !value.isEmpty()) m_defaultTopic = helpPath(value);
        if (code == kSystemTitle) m_title = value;
        pos += 4 + length;
    }
}

void ChmFile::findMissingEntries() {
    if (!m_contents.isEmpty() && !m_defaultTopic.isEmpty()) return;
    QStringList paths;
    chm_enumerate(m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, enumerateEntry, &paths);
    paths.sort(Qt::CaseInsensitive);
    for (const QString& path : paths) {
        if (m_contents.isEmpty() && path.endsWith(QStringLiteral(".hhc"), Qt::CaseInsensitive)) m_contents = path;
    }
    if (!m_defaultTopic.isEmpty()) return;
    for (const QString& candidate : {QStringLiteral("/index.html"), QStringLiteral("/index.htm")})
        if (paths.contains(candidate, Qt::CaseInsensitive)) m_defaultTopic = candidate;
    for (const QString& path : paths) {
        if (!m_defaultTopic.isEmpty()) break;
        if (path.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) || path.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive))
            m_defaultTopic = path;
    }
}

}  // namespace kestrum::ui
