// The help key of every page, and the committed help file against its sources.
#include "converter_fixture.h"

#include <chm_lib.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <set>

using namespace converter_test;

namespace {

const QString kHelpSources = QStringLiteral(KESTRUM_SOURCE_DIR "/converter/help");
const QString kCommittedHelp = QStringLiteral(KESTRUM_SOURCE_DIR "/converter/Morvane.chm");

QWidget* visibleHelpWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle() == QLatin1String("Morvane Help")) return window;
    return nullptr;
}

// The source files of the help, by path relative to the sources' folder.
QStringList helpSources() {
    QStringList paths;
    QDirIterator it(kHelpSources, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) paths << QDir(kHelpSources).relativeFilePath(it.next());
    paths.sort();
    return paths;
}

struct ChmContents {
    chmFile* file = nullptr;
    std::set<std::string> pages;  // every .html and image stored, by path
};

int collect(chmFile*, chmUnitInfo* ui, void* context) {
    const std::string path = ui->path;
    static const QRegularExpression content(QStringLiteral("\\.(html?|png|gif|jpe?g|hhc)$"));
    if (QString::fromStdString(path).contains(content)) static_cast<ChmContents*>(context)->pages.insert(path);
    return CHM_ENUMERATOR_CONTINUE;
}

std::optional<QByteArray> readFromChm(chmFile* file, const QString& path) {
    chmUnitInfo ui{};
    if (chm_resolve_object(file, ("/" + path).toUtf8().constData(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
    QByteArray data(qsizetype(ui.length), '\0');
    if (chm_retrieve_object(file, &ui, reinterpret_cast<unsigned char*>(data.data()), 0, LONGINT64(ui.length)) !=
        LONGINT64(ui.length))
        return std::nullopt;
    return data;
}

class HelpKey : public ConverterTest {
protected:
    void TearDown() override {
        if (QWidget* help = visibleHelpWindow()) help->close();
        ConverterTest::TearDown();
    }
};

}  // namespace

TEST_F(HelpKey, F1OnEveryPageOpensTheHelpFileBesideTheProgram) {
    ASSERT_TRUE(QFile::copy(kCommittedHelp, programDir() + QStringLiteral("Morvane.chm")));
    openSheet();
    ASSERT_TRUE(kestrum::test::showActive(m_sheet.get()));
    QTest::keyClick(m_sheet.get(), Qt::Key_F1);
    QWidget* help = visibleHelpWindow();
    ASSERT_NE(help, nullptr);
    help->close();
    for (int page = 0; page < m_sheet->GetPageCount(); ++page) {
        ASSERT_TRUE(clickTab(page));
        // The sheet is the active window again once the help window has gone.
        ASSERT_TRUE(kestrum::test::showActive(m_sheet.get()));
        ASSERT_TRUE(kestrum::test::waitFor([this] { return QApplication::activeWindow() == m_sheet.get(); }));
        QTest::keyClick(m_sheet.get(), Qt::Key_F1);
        ASSERT_NE(visibleHelpWindow(), nullptr) << page;
        visibleHelpWindow()->close();
    }
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(HelpKey, WithoutTheHelpFileEveryPageSaysHelpFileNotFound) {
    openSheet();
    for (int page = 0; page < m_sheet->GetPageCount(); ++page) {
        ASSERT_TRUE(clickTab(page));
        m_boxes.clear();
        // Handled on every page: one box, and nothing else opens.
        QTest::keyClick(m_sheet.get(), Qt::Key_F1);
        ASSERT_EQ(m_boxes.boxes().size(), 1u) << page;
        EXPECT_EQ(m_boxes.boxes()[0].text, QStringLiteral("Help File Not Found"));
        EXPECT_EQ(m_boxes.boxes()[0].caption, QStringLiteral("Help Error"));
        EXPECT_EQ(m_boxes.boxes()[0].icon(), MB_ICONERROR);
    }
    EXPECT_EQ(visibleHelpWindow(), nullptr);
}

TEST(HelpFile, TheCommittedFileHoldsExactlyTheCurrentSources) {
    const QStringList sources = helpSources();
    ASSERT_GE(sources.size(), 7) << "help sources missing: the comparison would pass vacuously";
    ChmContents chm;
    chm.file = chm_open(QFile::encodeName(kCommittedHelp).constData());
    ASSERT_NE(chm.file, nullptr) << "converter/Morvane.chm is missing or not a compiled help file";
    chm_enumerate(chm.file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, &chm);
    for (const QString& source : sources) {
        const std::optional<QByteArray> stored = readFromChm(chm.file, source);
        ASSERT_TRUE(stored.has_value()) << source.toStdString() << " is not in Morvane.chm: run scripts/build-chm "
                                        << "converter/help converter/Morvane.chm";
        EXPECT_EQ(*stored, readFile(kHelpSources + u'/' + source))
            << source.toStdString() << " changed since Morvane.chm was built: run scripts/build-chm "
            << "converter/help converter/Morvane.chm";
        chm.pages.erase("/" + source.toStdString());
    }
    for (const std::string& stale : chm.pages) ADD_FAILURE() << stale << " is in Morvane.chm but has no source";
    chm_close(chm.file);
}

TEST(HelpFile, EveryLinkLeadsToAPageOfTheHelp) {
    const QStringList sources = helpSources();
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#:]*)(#[^\"]*)?\""));
    int links = 0;
    for (const QString& source : sources) {
        if (!source.endsWith(QLatin1String(".html"))) continue;
        const QString text = QString::fromUtf8(readFile(kHelpSources + u'/' + source));
        for (auto match = link.globalMatch(text); match.hasNext();) {
            const QString target = match.next().captured(1);
            if (target.isEmpty()) continue;
            ++links;
            EXPECT_TRUE(sources.contains(target)) << source.toStdString() << " links to " << target.toStdString();
        }
    }
    EXPECT_GT(links, 10);
}

TEST(HelpFile, TheMessagesPageExplainsEveryMessageTheUserCanSee) {
    const QString text = QString::fromUtf8(readFile(kHelpSources + QStringLiteral("/messages.html")));
    const char* const messages[] = {
        "Unit Database File Not Found", "Unit Database is Corrupt", "Unit Not Found", "Initialize the Unit System First",
        "An Input Expression is Invalid", "Internal Error, Notify Tech Support",
        "Divide by Zero Error, Notify Tech Support", "Dimensional Analysis of the Two Units is Different",
        "Quantity Not Found", "Unit System Not Found", "No Write Permissions for this File",
        "An expression determines the unit or quantity parameters", "Synonym Not Found",
        "A Quantity, Unit, UnitSystem or Synonym With the Same Name Already Exists",
        "The name or expression specified is not acceptable",
        "The preferred unit for a basic quantity was not found in the given unit system",
        "No preferred units for a constant quantity in a unit system", "Error Code not Found",
        "Unit Database File Read Successfully", "Unit Database File Written Successfully",
        "The Unit Database has unsaved changes. Save them?", "Help File Not Found",
        "Please select a unit system first", "Please select an entry in the quantity column", "Please enter a number.",
        "Please enter an integer.", "Please enter no more than 100 characters."};
    for (const char* message : messages) EXPECT_TRUE(text.contains(QString::fromUtf8(message))) << message;
}
