// The host's string-table entry that sets up a control: its quantity expression, one space and
// its decimals ("Length 2", "mass 3"). The quantity expression therefore holds no space.
#pragma once

#include <QString>

namespace kestrum::editctl {

struct ControlString {
    QString quantity;              // empty when the entry has no space
    unsigned short precision = 0;  // 0: the entry gives none, the control keeps its own
};

// The text after the first space is read as the C library reads an integer (leading digits, 0
// when there are none); only a count above 0 counts, and counts above 9 are taken as 9, the
// most decimals a control keeps. An entry without a space is read whole as the count.
ControlString parseControlString(const QString& entry);

}  // namespace kestrum::editctl
