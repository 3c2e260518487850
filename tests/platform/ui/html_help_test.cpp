#include <kestrum/ui/html_help.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

namespace {

const QString kSample = QStringLiteral(KESTRUM_SOURCE_DIR "/tests/platform/ui/data/sample.chm");

QStringList topicTexts(const QTreeWidget* tree) {
    QStringList texts;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it) {
        QString text = (*it)->text(0);
        for (const QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent()) text.prepend(u'>');
        texts << text;
    }
    return texts;
}

// Clicks the link whose text is `text` in the browser, as the user does.
bool clickLink(QTextBrowser* browser, const QString& text) {
    QTextCursor found = browser->document()->find(text);
    if (found.isNull()) return false;
    found.setPosition(found.selectionStart() + 1);
    const QPoint at = browser->cursorRect(found).center();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, at);
    return true;
}

QWidget* open(const QString& path) { return HtmlHelp(nullptr, path, HH_DISPLAY_TOPIC); }

}  // namespace

TEST(HtmlHelp, ShowsTheStartPageTitleAndContentsOfAHelpFile) {
    QWidget* window = open(kSample);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Sample Help"));
    auto* browser = window->findChild<QTextBrowser*>();
    auto* tree = window->findChild<QTreeWidget*>();
    ASSERT_TRUE(browser && tree);
    EXPECT_EQ(browser->source().path(), QStringLiteral("/index.html"));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("This small help file")));
    EXPECT_EQ(topicTexts(tree), (QStringList{"Sample Help", ">Syntax & Examples", "The File Format"}));
    const QVariant image = browser->document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("images/dial.png")));
    EXPECT_EQ(image.value<QImage>().size(), QSize(16, 16));
    window->close();
}

TEST(HtmlHelp, LinksAndContentsOpenPagesOfTheFile) {
    QWidget* window = open(kSample);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(kestrum::test::showActive(window));
    auto* browser = window->findChild<QTextBrowser*>();
    ASSERT_TRUE(clickLink(browser, QStringLiteral("Expression Syntax")));
    EXPECT_EQ(browser->source().path(), QStringLiteral("/syntax.html"));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Units combine")));

    // A contents entry with a backslash path and an anchor.
    auto* tree = window->findChild<QTreeWidget*>();
    QTreeWidgetItem* format = tree->topLevelItem(1);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(format).center());
    EXPECT_EQ(browser->source().path(), QStringLiteral("/more/files.html"));
    EXPECT_EQ(browser->source().fragment(), QStringLiteral("format"));

    // A link up a folder.
    ASSERT_TRUE(clickLink(browser, QStringLiteral("Expression Syntax")));
    EXPECT_EQ(browser->source().path(), QStringLiteral("/syntax.html"));
    window->close();
}

TEST(HtmlHelp, APathCanNameThePageAndAFileKeepsOneWindow) {
    QWidget* window = open(kSample + QStringLiteral("::/syntax.html"));
    ASSERT_NE(window, nullptr);
    auto* browser = window->findChild<QTextBrowser*>();
    EXPECT_EQ(browser->source().path(), QStringLiteral("/syntax.html"));
    EXPECT_EQ(open(kSample + QStringLiteral("::/index.html")), window);
    EXPECT_EQ(browser->source().path(), QStringLiteral("/index.html"));
    EXPECT_EQ(open(kSample + QStringLiteral("::/missing.html")), window);  // stays where it was
    EXPECT_EQ(browser->source().path(), QStringLiteral("/index.html"));
    // Closed, it is the same window that shows the file again.
    window->close();
    EXPECT_EQ(open(kSample), window);
    EXPECT_TRUE(window->isVisible());
    window->close();
}

TEST(HtmlHelp, MissingOrDamagedFilesGiveNoWindow) {
    QTemporaryDir dir;
    EXPECT_EQ(open(dir.filePath(QStringLiteral("Morvane.chm"))), nullptr);

    QFile sample(kSample);
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray bytes = sample.readAll();
    const struct {
        const char* name;
        QByteArray content;
    } damaged[] = {{"empty.chm", {}},
                   {"text.chm", "<html>not a compiled help file</html>"},
                   {"truncated.chm", bytes.left(512)},
                   {"headless.chm", QByteArray(64, '\0') + bytes.mid(64)}};
    for (const auto& d : damaged) {
        const QString path = dir.filePath(QString::fromLatin1(d.name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(d.content);
        file.close();
        EXPECT_EQ(open(path), nullptr) << d.name;
    }
    const QString copy = dir.filePath(QStringLiteral("copy.chm"));
    ASSERT_TRUE(QFile::copy(kSample, copy));
    EXPECT_EQ(open(copy + QStringLiteral("::/missing.html")), nullptr);
    EXPECT_EQ(HtmlHelp(nullptr, copy, 1), nullptr);
    QWidget* window = open(copy);
    ASSERT_NE(window, nullptr);
    delete window;
}
