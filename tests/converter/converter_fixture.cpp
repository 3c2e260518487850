#include "converter_fixture.h"

#include "morvane_resources.h"
#include "screenshots.h"

#include <comrt/comrt.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QProcess>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace converter_test {

const char kSmallDatabase[] = R"(<?xml version="1.0"?>
<UNITS_DATABASE>
  <QUANTITIES>
    <QUANTITY NAME = "Length" M = "1"><SYNONYM>Distance</SYNONYM></QUANTITY>
    <QUANTITY NAME = "Mass" KG = "1"/>
    <QUANTITY NAME = "Temperature" K = "1"/>
    <QUANTITY NAME = "Time" S = "1"/>
    <QUANTITY NAME = "Velocity" EXPRESSION = "Length/Time"/>
  </QUANTITIES>
  <UNITS>
    <UNIT NAME = "degF" QUANTITY = "Temperature" CONVERSION_FACTOR = "0.5555555555555556" CONVERSION_OFFSET = "255.37222222222223" SYMBOL = "°F"><SYNONYM>fahrenheit</SYNONYM></UNIT>
    <UNIT NAME = "foot" QUANTITY = "Length" CONVERSION_FACTOR = "0.3048" SYMBOL = "ft"><SYNONYM>ft</SYNONYM></UNIT>
    <UNIT NAME = "hour" QUANTITY = "Time" CONVERSION_FACTOR = "3600" SYMBOL = "h"><SYNONYM>h</SYNONYM></UNIT>
    <UNIT NAME = "kelvin" QUANTITY = "Temperature" CONVERSION_FACTOR = "1" SYMBOL = "K"/>
    <UNIT NAME = "kilogram" QUANTITY = "Mass" CONVERSION_FACTOR = "1" SYMBOL = "kg"><SYNONYM>kg</SYNONYM></UNIT>
    <UNIT NAME = "kilometre" QUANTITY = "Length" CONVERSION_FACTOR = "1000" SYMBOL = "km"><SYNONYM>km</SYNONYM></UNIT>
    <UNIT NAME = "kmh" QUANTITY = "Velocity" EXPRESSION = "kilometre/hour" SYMBOL = "km/h"/>
    <UNIT NAME = "metre" QUANTITY = "Length" CONVERSION_FACTOR = "1" SYMBOL = "m"><SYNONYM>m</SYNONYM><SYNONYM>Meter</SYNONYM></UNIT>
    <UNIT NAME = "second" QUANTITY = "Time" CONVERSION_FACTOR = "1" SYMBOL = "s"><SYNONYM>s</SYNONYM></UNIT>
  </UNITS>
  <UNIT_SYSTEMS>
    <UNIT_SYSTEM NAME = "SI">
      <UNIT_SYSTEM_QTY NAME = "Length" PREFERRED_UNIT = "metre"/>
      <UNIT_SYSTEM_QTY NAME = "Mass" PREFERRED_UNIT = "kilogram"/>
      <UNIT_SYSTEM_QTY NAME = "Temperature" PREFERRED_UNIT = "kelvin"/>
      <UNIT_SYSTEM_QTY NAME = "Time" PREFERRED_UNIT = "second"/>
    </UNIT_SYSTEM>
    <UNIT_SYSTEM NAME = "English">
      <UNIT_SYSTEM_QTY NAME = "Length" PREFERRED_UNIT = "foot"/>
      <UNIT_SYSTEM_QTY NAME = "Temperature" PREFERRED_UNIT = "degF"/>
      <UNIT_SYSTEM_QTY NAME = "Time" PREFERRED_UNIT = "hour"/>
    </UNIT_SYSTEM>
  </UNIT_SYSTEMS>
</UNITS_DATABASE>
)";

const char kAngleDatabase[] = R"(<?xml version="1.0"?>
<UNITS_DATABASE>
  <QUANTITIES><QUANTITY NAME = "Angle" RAD = "1"/></QUANTITIES>
  <UNITS><UNIT NAME = "radian" QUANTITY = "Angle" CONVERSION_FACTOR = "1" SYMBOL = "rad"/></UNITS>
  <UNIT_SYSTEMS><UNIT_SYSTEM NAME = "Nautical"><UNIT_SYSTEM_QTY NAME = "Angle" PREFERRED_UNIT = "radian"/></UNIT_SYSTEM></UNIT_SYSTEMS>
</UNITS_DATABASE>
)";

namespace {

// The engine server registered, for the whole test process, in a registry file of its own, so
// no test touches the user's registry.
class ServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        const QByteArray registry = QFile::encodeName(m_dir.filePath(QStringLiteral("classes.reg")));
        ::setenv("KESTRUM_REGISTRY", registry.constData(), 1);
        QProcess regsvr;
        regsvr.start(QStringLiteral(KESTRUM_REGSVR), {QStringLiteral(KESTRUM_SERVER)});
        ASSERT_TRUE(regsvr.waitForFinished(30000));
        ASSERT_EQ(regsvr.exitCode(), 0) << regsvr.readAllStandardError().toStdString();
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        RegisterMorvaneResources();
    }
    void TearDown() override { CoUninitialize(); }

private:
    QTemporaryDir m_dir;
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
