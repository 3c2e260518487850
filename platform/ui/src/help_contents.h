// The contents tree of a help file, read from its contents file (a list of sitemap objects with a
// "Name" and a "Local" page, nested in lists).
#pragma once

#include <QString>

#include <vector>

namespace kestrum::ui {

struct HelpTopic {
    QString name;
    QString local;
    std::vector<HelpTopic> children;
};

std::vector<HelpTopic> parseContents(const QString& html);

}  // namespace kestrum::ui
