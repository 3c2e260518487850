#include "control_string.h"

#include <gtest/gtest.h>

using namespace kestrum::editctl;

TEST(ControlString, GivesQuantityAndDecimalsOfAControl) {
    struct Row {
        const char* entry;
        const char* quantity;
        unsigned short precision;
        const char* label;
    } rows[] = {
        {"Length 2", "Length", 2, "demo length"},
        {"mass 3", "mass", 3, "demo mass"},
        {"time 0", "time", 0, "0 keeps the default"},
        {"temperature 4", "temperature", 4, "demo temperature"},
        {"Length", "", 0, "no space: no quantity"},
        {"", "", 0, "missing entry"},
        {"Length ", "Length", 0, "nothing after the space"},
        {"Length 9", "Length", 9, "most decimals"},
        {"Length 10", "Length", 9, "above 9 is capped"},
        {"Length 12", "Length", 9, "capped"},
        {"Length 99999999999999999999999", "Length", 9, "no overflow"},
        {"Length -3", "Length", 0, "negative counts do not count"},
        {"Length 2abc", "Length", 2, "leading digits"},
        {"Length  7", "Length", 7, "white space before the count"},
        {"Length x", "Length", 0, "no digits"},
        {"Length/Time 1", "Length/Time", 1, "an expression"},
        {"5", "", 5, "no space: the whole entry is the count"},
    };
    for (const Row& row : rows) {
        const ControlString parsed = parseControlString(QString::fromLatin1(row.entry));
        EXPECT_EQ(parsed.quantity, QString::fromLatin1(row.quantity)) << row.label;
        EXPECT_EQ(parsed.precision, row.precision) << row.label;
    }
}
