#include "converter_fixture.h"

#include "morvane_resources.h"
#include "screenshots.h"

#include <comrt/comrt.h>
#include <server_registration.h>
#include <test_databases.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <vector>

namespace converter_test {

const QByteArray kSmallDatabase = QByteArray::fromStdString(kestrum::test::testDatabase("converter_small.xml"));
const QByteArray kAngleDatabase = QByteArray::fromStdString(kestrum::test::testDatabase("converter_angle.xml"));

namespace {

// The engine server registered for the whole test process (see server_registration.h).
class ServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_EQ(kestrum::test::registerServerForProcess(KESTRUM_REGSVR, KESTRUM_SERVER), "");
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        RegisterMorvaneResources();
    }
    void TearDown() override { CoUninitialize(); }
};

[[maybe_unused]] ::testing::Environment* const g_server = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

}  // namespace

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(content);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const CListBox* list) {
    QStringList texts;
    for (int i = 0; i < list->GetCount(); ++i) texts << list->GetText(i);
    return texts;
}

QString selectedText(const CListBox* list) {
    const int selected = list->GetCurSel();
    return selected == LB_ERR ? QString() : list->GetText(selected);
}

bool choose(CListBox* list, const QString& text) {
    const int index = list->FindStringExact(-1, text);
    if (index == LB_ERR) return false;
    if (!list->isVisible()) {
        ADD_FAILURE() << "a click on a list that is not shown: " << text.toStdString();
        return false;
    }
    list->scrollToItem(list->item(index));
    const QRect entry = list->visualItemRect(list->item(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
    return list->currentRow() == index;
}

void chooseFromContextMenu(CListBox* list, const QString& item, const QString& name) {
    {
        kestrum::test::ModalDriver modals;
        modals.next([item](QWidget* popup) { EXPECT_TRUE(kestrum::test::chooseMenuItem(popup, item)) << item.toStdString(); });
        if (!name.isNull()) {
            modals.next([name](QWidget* dialog) {
                dialog->findChild<QLineEdit*>()->setText(name);
                static_cast<QDialog*>(dialog)->accept();
            });
        }
        // A right click reaches a list box through its viewport.
        const QPoint at(10, 10);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &event);
    }
    // The list posts its message to the page.
    QCoreApplication::processEvents();
}

void typeAndLeave(QWidget* edit, const QString& text, QWidget* next) {
    typeInto(edit, text);
    // A click on a list would choose what lies under the pointer: the Tab key leaves instead.
    if (next && !qobject_cast<QListWidget*>(next)) QTest::mouseClick(next, Qt::LeftButton, {}, next->rect().center());
    else QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_FALSE(edit->hasFocus()) << "the edit was left";
}

void typeInto(QWidget* edit, const QString& text) {
    ASSERT_TRUE(edit->isVisible()) << "typing into an edit that is not shown";
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    edit->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    if (!text.isEmpty()) QTest::keyClicks(edit, text);
}

void clickOn(QWidget* button) {
    ASSERT_TRUE(button->isVisible()) << "a click on a button that is not shown";
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void ConverterTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    writeFile(databasePath(), kSmallDatabase);
    ASSERT_EQ(m_engine.Create(), S_OK);
}

void ConverterTest::TearDown() {
    m_sheet.reset();
    m_engine.Release();
}

void ConverterTest::openSheet(int page) {
    m_sheet = std::make_unique<CMorvaneSheet>(m_engine, programDir());
    ASSERT_TRUE(m_sheet->Create());
    ASSERT_TRUE(kestrum::test::showActive(m_sheet.get()));
    if (page != 0) {
        ASSERT_TRUE(clickTab(page));
    }
}

QTabBar* ConverterTest::tabBar() const {
    auto* tabs = m_sheet ? m_sheet->findChild<QTabWidget*>() : nullptr;
    return tabs ? tabs->tabBar() : nullptr;
}

bool ConverterTest::clickTab(int page) {
    QTabBar* bar = tabBar();
    if (!bar || !bar->isVisible()) {
        ADD_FAILURE() << "no tab bar is shown";
        return false;
    }
    QTest::mouseClick(bar, Qt::LeftButton, {}, TabCentre(bar, page));
    QCoreApplication::processEvents();
    return m_sheet->GetActiveIndex() == page;
}

}  // namespace converter_test
