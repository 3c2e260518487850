// Shared set-up of the converter's tests: the engine server registered in a registry file of
// the test's own, a program folder with a small Unit Database written by the test, the engine
// and the sheet, and ways to act on the pages as a user does.
#pragma once

#include "engine_connection.h"
#include "morvane_sheet.h"
#include "resource_ids.h"

#include <qt_test_support.h>

#include <kestrum/ui/list_box.h>
#include <kestrum/ui/list_ctrl.h>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QTabBar>
#include <QTemporaryDir>

#include <memory>

// Readable failure messages for Qt text.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '{';
    for (const QString& text : texts) *os << " \"" << text.toStdString() << '"';
    *os << " }";
}

namespace converter_test {

// Five quantities (Velocity defined by an expression), nine units (kmh by an expression, degF
// with an offset and a factor that 15 digits would round), and two unit systems.
extern const QByteArray kSmallDatabase;
// Another database to read on top: one quantity, its unit and a third unit system.
extern const QByteArray kAngleDatabase;

void writeFile(const QString& path, const QByteArray& content);
QByteArray readFile(const QString& path);

// The entries of a list, in the order shown.
QStringList entries(const CListBox* list);
QString selectedText(const CListBox* list);
// Selects the entry as a click does (the page is notified); false when there is none.
bool choose(CListBox* list, const QString& text);
// Opens the list's context menu as a right click does and chooses the item; `name` (when
// given) is typed into the Name dialog that follows and confirmed. Then lets the page handle
// what the list posted.
void chooseFromContextMenu(CListBox* list, const QString& item, const QString& name = {});
// Makes the edit lose the focus after typing into it: a click on `next`, or the Tab key when
// `next` is a list (a click there would choose an entry).
void typeAndLeave(QWidget* edit, const QString& text, QWidget* next);
// Clicks into the edit, selects its text and types `text` over it (an empty text deletes it).
void typeInto(QWidget* edit, const QString& text);
// A left click in the middle of a button (or check box).
void clickOn(QWidget* button);

class ConverterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program folder ends in "/", like programDirectory().
    QString programDir() const { return m_dir.path() + u'/'; }
    QString databasePath() const { return programDir() + QStringLiteral("Unit_Database.xml"); }
    // Builds and shows the sheet as start-up does (the Database File page reads the database)
    // and clicks the tab of page `page`.
    void openSheet(int page = 0);
    // Clicks the tab of the page as the user does; true when that page is then current (false
    // when the page that was current refused to be left).
    bool clickTab(int page);
    QTabBar* tabBar() const;

    CDatabaseFileDlg& fileTab() { return m_sheet->m_databaseFilePage; }
    CByQuantityDlg& byQuantity() { return m_sheet->m_byQuantityPage; }
    CByUnitSystemDlg& byUnitSystem() { return m_sheet->m_byUnitSystemPage; }
    CByExpressionDlg& byExpression() { return m_sheet->m_byExpressionPage; }
    CQuantityDatabaseDlg& quantities() { return m_sheet->m_quantityDatabasePage; }
    CUnitDatabaseDlg& units() { return m_sheet->m_unitDatabasePage; }
    CUnitSystemDatabaseDlg& systems() { return m_sheet->m_unitSystemDatabasePage; }

    QTemporaryDir m_dir;
    MorvaneEngine m_engine;
    std::unique_ptr<CMorvaneSheet> m_sheet;
    kestrum::test::MessageBoxRecorder m_boxes;
};

}  // namespace converter_test
