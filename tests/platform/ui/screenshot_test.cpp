#include <kestrum/ui/dialog.h>
#include <kestrum/ui/resources.h>
#include <kestrum/ui/screenshot.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>

using namespace kestrum::ui;

TEST(Screenshot, WritesTheRealPixelsOfAHiddenDialog) {
    ResourceModule::application().addDialog(DialogTemplate{
        .id = 9600,
        .caption = QStringLiteral("About Probeck"),
        .cx = 217,
        .cy = 55,
        .controls = {LTEXT(QStringLiteral("Probeck Version 1.0"), IDC_STATIC, 40, 10, 119, 8),
                     DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 178, 7, 32, 14)}});
    CDialog dialog(9600);
    ASSERT_TRUE(dialog.Create());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("screens/probeck/about.png"));
    ASSERT_TRUE(saveScreenshot(&dialog, path));
    EXPECT_TRUE(dialog.isHidden());
    const QImage image(path);
    EXPECT_EQ(image.size(), dialog.size() * dialog.devicePixelRatio());
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 4) << "text and button drawn, not a blank image";
}

TEST(Screenshot, AnswersFalseWhenTheFileCannotBeWritten) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QWidget widget;
    widget.resize(20, 20);
    EXPECT_FALSE(saveScreenshot(&widget, dir.filePath(QStringLiteral("file/under/a/file.png"))));
    EXPECT_FALSE(saveScreenshot(nullptr, dir.filePath(QStringLiteral("x.png"))));
}
