#include "control_string.h"

#include "quantity_text.h"

#include <algorithm>

namespace kestrum::editctl {

ControlString parseControlString(const QString& entry) {
    ControlString result;
    const qsizetype space = entry.indexOf(u' ');
    if (space > 0) result.quantity = entry.left(space);
    if (entry.size() <= space + 1) return result;

    const QStringView rest = QStringView(entry).mid(space + 1);
    qsizetype i = 0;
    while (i < rest.size() && (rest[i] == u' ' || (rest[i] >= u'\t' && rest[i] <= u'\r'))) ++i;
    bool negative = false;
    if (i < rest.size() && (rest[i] == u'-' || rest[i] == u'+')) negative = rest[i++] == u'-';
    long count = 0;
    // Counting stops once it is past the cap, so no number of digits overflows.
    for (; i < rest.size() && rest[i] >= u'0' && rest[i] <= u'9'; ++i)
        if (count <= kMaxPrecision) count = count * 10 + (rest[i].unicode() - u'0');
    if (!negative && count > 0) result.precision = static_cast<unsigned short>(std::min<long>(count, kMaxPrecision));
    return result;
}

}  // namespace kestrum::editctl
