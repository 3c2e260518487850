// What a control the user is not editing shows, and what becomes of text dropped onto it: the
// box must never show a number other than the one the host stores.
#include "engine_fixture.h"
#include "host_dialog.h"
#include "user_input.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QSet>
#include <QTest>

using namespace editctl_test;

namespace {

class DecoratedDisplay : public EngineTest {
protected:
    void SetUp() override {
        start(QStringLiteral("English"), QStringLiteral("English"));
        ASSERT_TRUE(dialog.Create());
        ASSERT_TRUE(kestrum::test::showActive(&dialog));
    }

    HostDialog dialog;
};

// The point on the screen where a drop lands just before character n of the text shown.
QPoint before(QLineEdit& box, int n) {
    for (int x = 0; x < box.width(); ++x)
        if (box.cursorPositionAt(QPoint(x, box.height() / 2)) == n) return {x, box.height() / 2};
    return {-1, -1};
}

void drop(QWidget* target, const QString& text, QPoint at) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &move);
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &dropped);
}

// The leftmost `width` pixels of a box as drawn.
QImage leftPart(QWidget* box, int width) { return box->grab().toImage().copy(0, 0, width, box->height()); }

int colourCount(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    return int(colours.size());
}

}  // namespace

TEST_F(DecoratedDisplay, ADropGoesIntoTheNumberShownAndIsStoredAsShown) {
    CDimsafeEdit& length = dialog[kLength2];
    dialog.load(kLength2, 200);
    ASSERT_TRUE(clickInto(&dialog[kMass3]));  // the user is in another box
    ASSERT_EQ(length.text(), QStringLiteral("200.00 ft"));

    const struct {
        const char* dropped;
        int at;  // before this character of the text shown
        const char* shown;
        double stored;
    } rows[] = {
        {"5", 0, "5,200.00 ft", 5200},          // before the first digit
        {"1", 5, "52,001.00 ft", 52001},        // the comma does not count: before the point
        {"9", 11, "52,001.01 ft", 52001.01},    // onto the symbol: after the last digit, rounded
        {"-", 0, "-52,001.01 ft", -52001.01},
    };
    for (const auto& row : rows) {
        const QPoint at = before(length, row.at);
        ASSERT_GE(at.x(), 0) << row.dropped;
        drop(&length, QString::fromLatin1(row.dropped), at);
        EXPECT_EQ(length.text(), QString::fromLatin1(row.shown)) << row.dropped;
        EXPECT_FALSE(length.hasFocus()) << "a drop leaves the focus where it was";
        dialog.UpdateData(true);
        EXPECT_DOUBLE_EQ(length(), row.stored) << row.dropped;
        dialog.UpdateData(false);
        EXPECT_EQ(length.text(), QString::fromLatin1(row.shown)) << "the stored value shows the same";
    }
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(DecoratedDisplay, ARefusedDropChangesNothing) {
    CDimsafeEdit& length = dialog[kLength2];
    dialog.load(kLength2, 200);
    ASSERT_TRUE(clickInto(&dialog[kMass3]));
    for (const char* dropped : {"12a", ".5", "2-"}) {
        boxes.clear();
        drop(&length, QString::fromLatin1(dropped), before(length, 2));
        EXPECT_EQ(length.text(), QStringLiteral("200.00 ft")) << dropped;
        ASSERT_EQ(boxes.boxes().size(), 1u) << dropped;
        EXPECT_EQ(boxes.boxes().front().caption, QStringLiteral("Paste Command Ignored"));
        EXPECT_EQ(boxes.boxes().front().owner, &length);
    }
    dialog.UpdateData(true);
    EXPECT_EQ(length(), 200.0);
}

TEST_F(DecoratedDisplay, ADropOntoASymbolInFrontOrAnEmptyBox) {
    CDimsafeEdit& length = dialog[kLength3];
    length.PrefixSymbol();
    dialog.load(kLength3, 1234.5);
    dialog.load(kTemperature4, CDimsafeEdit::m_dUNDEF);
    ASSERT_TRUE(clickInto(&dialog[kMass3]));
    ASSERT_EQ(length.text(), QStringLiteral("ft 1,234.500"));
    drop(&length, QStringLiteral("7"), before(length, 1));
    EXPECT_EQ(length.text(), QStringLiteral("ft 71,234.500")) << "in the symbol: before the number";

    CDimsafeEdit& temperature = dialog[kTemperature4];
    ASSERT_EQ(temperature.text(), QString());
    drop(&temperature, QStringLiteral("-40"), QPoint(4, temperature.height() / 2));
    EXPECT_EQ(temperature.text(), QString::fromUtf8("-40.0000 \u00b0F"));
    dialog.UpdateData(true);
    EXPECT_EQ(length(), 71234.5);
    EXPECT_EQ(temperature(), -40.0);
}

TEST_F(DecoratedDisplay, ATextWiderThanTheBoxShowsItsFirstDigits) {
    CDimsafeEdit& length = dialog[kLength3];
    length.resize(70, length.height());
    // A box of the same size showing the leading digits alone, which fit.
    QLineEdit leading(&dialog);
    leading.setGeometry(QRect(QPoint(0, dialog.height() - length.height()), length.size()));
    leading.setText(QStringLiteral("1,234,5"));
    leading.show();
    const int width = before(leading, 7).x();
    ASSERT_GT(width, 10);
    const QImage expected = leftPart(&leading, width);
    ASSERT_GT(colourCount(expected), 4) << "no digits drawn to compare";

    dialog.load(kLength3, 1234567.891);
    ASSERT_EQ(length.text(), QStringLiteral("1,234,567.891 ft"));
    ASSERT_GT(length.fontMetrics().horizontalAdvance(length.text()), length.width()) << "the text must not fit";
    EXPECT_EQ(leftPart(&length, width), expected) << "loaded";

    // Typed to its end, then left: the display starts at its first digit again.
    ASSERT_TRUE(clickInto(&length));
    typeOver(&length, QStringLiteral("1234567.891"));
    ASSERT_TRUE(tabAway(&length));
    ASSERT_EQ(length.text(), QStringLiteral("1,234,567.891 ft"));
    EXPECT_EQ(leftPart(&length, width), expected) << "left after typing";
}
