#include "help_contents.h"

#include <QRegularExpression>

namespace kestrum::ui {
namespace {

QString decodeEntities(const QString& text) {
    static const QRegularExpression entity(QStringLiteral("&(#[xX][0-9a-fA-F]+|#[0-9]+|[a-zA-Z]+);"));
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1);
        char32_t c = 0;
        if (name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive)) c = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(u'#')) c = name.mid(1).toUInt();
        else if (name == QLatin1String("amp")) c = u'&';
        else if (name == QLatin1String("lt")) c = u'<';
        else if (name == QLatin1String("gt")) c = u'>';
        else if (name == QLatin1String("quot")) c = u'"';
        else if (name == QLatin1String("apos")) c = u'\'';
        else if (name == QLatin1String("nbsp")) c = 0xA0;
        if (c == 0 || c > 0x10FFFF) continue;  // unknown: kept as written
        out += text.mid(last, m.capturedStart() - last);
        out += QString::fromUcs4(&c, 1);
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

QString attribute(const QString& attributes, const QString& name) {
    static const QRegularExpression pattern(QStringLiteral(R"re((\w+)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re"));
    for (auto it = pattern.globalMatch(attributes); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).compare(name, Qt::CaseInsensitive) != 0) continue;
        return decodeEntities(m.captured(2) + m.captured(3) + m.captured(4));
    }
    return {};
}

}  // namespace

std::vector<HelpTopic> parseContents(const QString& html) {
    static const QRegularExpression tag(QStringLiteral(R"(<\s*(/?)\s*(\w+)([^>]*)>)"));
    std::vector<HelpTopic> root;
    // The list that new topics join: the root list outside any nested list, else the children of
    // the topic the nested list follows.
    std::vector<std::vector<HelpTopic>*> lists;
    std::vector<HelpTopic>* current = &root;
    HelpTopic topic;
    bool inTopic = false;
    int depth = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool closing = !m.captured(1).isEmpty();
        const QString name = m.captured(2).toLower();
        const QString attributes = m.captured(3);
        if (name == QLatin1String("ul") && !closing) {
            if (depth++ > 0) {
                lists.push_back(current);
                if (!current->empty()) current = &current->back().children;
            }
        } else if (name == QLatin1String("ul") && closing) {
            if (depth > 0 && --depth > 0 && !lists.empty()) {
                current = lists.back();
                lists.pop_back();
            }
        } else if (name == QLatin1String("object") && !closing) {
            inTopic = attribute(attributes, QStringLiteral("type")).compare(QStringLiteral("text/sitemap"), Qt::CaseInsensitive) == 0;
            topic = HelpTopic{};
        } else if (name == QLatin1String("param") && inTopic) {
            const QString key = attribute(attributes, QStringLiteral("name"));
            if (key.compare(QStringLiteral("Name"), Qt::CaseInsensitive) == 0) topic.name = attribute(attributes, QStringLiteral("value"));
            if (key.compare(QStringLiteral("Local"), Qt::CaseInsensitive) == 0) topic.local = attribute(attributes, QStringLiteral("value"));
        } else if (name == QLatin1String("object") && closing && inTopic) {
            current->push_back(std::move(topic));
            topic = HelpTopic{};
            inTopic = false;
        }
    }
    return root;
}

}  // namespace kestrum::ui
