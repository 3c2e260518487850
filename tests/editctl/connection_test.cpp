// The library's engine connection: its start and end, conversions and symbols between the
// storage and the current unit system, engine failures, over-long text, and the choice of the
// current unit system.
#include "engine_fixture.h"
#include "user_input.h"

#include <kestrum/editctl/shared_converter.h>
#include <kestrum/ui/dialog.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/resources.h>

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

using namespace editctl_test;
using kestrum::editctl::ConvertValue;
using kestrum::editctl::GetSymbol;

namespace {

QString symbolOf(const QString& quantity) {
    char buffer[kestrum::editctl::kSymbolBufferSize];
    std::memset(buffer, 0, sizeof buffer);
    GetSymbol(quantity, buffer);
    return QString::fromUtf8(buffer);
}

// Chooses an entry of the open "Unit Systems" list as the user does (none for an empty name),
// then presses the button.
kestrum::test::ModalDriver::Action chooseUnitSystem(const QString& name, int button, QStringList* listed = nullptr) {
    return [=](QWidget* window) {
        auto* dialog = dynamic_cast<CDialog*>(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Unit Systems"));
        EXPECT_EQ(AfxGetResourceHandle()->name(), QStringLiteral("DimsafeEditCtl")) << "the library's own resources";
        auto* list = dialog->DlgItem<CListBox>(7545);
        ASSERT_NE(list, nullptr);
        if (listed) {
            listed->clear();
            for (int i = 0; i < list->GetCount(); ++i) *listed << list->GetText(i);
            if (list->GetCurSel() != LB_ERR) *listed << QStringLiteral("selected: ") + list->GetText(list->GetCurSel());
        }
        if (name.isEmpty()) {
            // A click with Ctrl on the selected entry leaves none selected.
            const QList<QListWidgetItem*> selected = list->selectedItems();
            for (QListWidgetItem* item : selected)
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, list->visualItemRect(item).center());
            EXPECT_EQ(list->GetCurSel(), LB_ERR);
        } else {
            EXPECT_TRUE(clickEntry(list, name)) << name.toStdString();
        }
        QTest::mouseClick(dialog->DlgItem<QPushButton>(button), Qt::LeftButton);
    };
}

}  // namespace

using Connection = EngineTest;

TEST_F(Connection, ConvertsBetweenStorageAndCurrentUnitSystem) {
    start(QStringLiteral("English"), QStringLiteral("SI"));
    EXPECT_NEAR(ConvertValue(QStringLiteral("Length"), 200, true), 60.96, 1e-12);
    EXPECT_NEAR(ConvertValue(QStringLiteral("Length"), 60.96, false), 200, 1e-12);
    EXPECT_NEAR(ConvertValue(QStringLiteral("temperature"), 212, true), 373.15, 1e-9);
    EXPECT_NEAR(ConvertValue(QStringLiteral("Length/Time"), 1, true), 0.3048, 1e-15);
    EXPECT_EQ(symbolOf(QStringLiteral("Length")), QStringLiteral("m"));
    EXPECT_EQ(symbolOf(QStringLiteral("temperature")), QStringLiteral("K"));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(Connection, EqualUnitSystemNamesNeverReachTheEngine) {
    start(QStringLiteral("English"), QStringLiteral("English"));
    EXPECT_EQ(ConvertValue(QStringLiteral("NoSuchQuantity"), 5, true), 5.0);
    EXPECT_TRUE(boxes.texts().isEmpty()) << "no engine call, so no failure to show";
    CDimsafeEdit::Terminate();

    start(QStringLiteral("English"), QStringLiteral("english"));
    EXPECT_EQ(ConvertValue(QStringLiteral("Length"), 200, true), 200.0);
    EXPECT_EQ(ConvertValue(QStringLiteral("NoSuchQuantity"), 5, true), 5.0);
    EXPECT_EQ(boxes.texts(), QStringList{"Quantity Not Found"}) << "the names differ in case: the engine is asked";
}

TEST_F(Connection, EngineFailuresShowTheEngineDescriptionAndFallBack) {
    start(QStringLiteral("English"), QStringLiteral("SI"));
    EXPECT_EQ(ConvertValue(QStringLiteral("NoSuchQuantity"), 7.5, false), 7.5);
    char symbol[kestrum::editctl::kSymbolBufferSize] = "untouched";
    GetSymbol(QStringLiteral("NoSuchQuantity"), symbol);
    EXPECT_STREQ(symbol, "untouched");
    ASSERT_EQ(boxes.boxes().size(), 2u);
    for (const auto& box : boxes.boxes()) {
        EXPECT_EQ(box.text, QStringLiteral("Quantity Not Found"));
        EXPECT_EQ(box.caption, QStringLiteral("KestrumLib.Morvane"));
        EXPECT_EQ(box.type, MB_OK);
        EXPECT_EQ(box.owner, nullptr);
    }
}

TEST_F(Connection, SecondInitializeChangesNothing) {
    start(QStringLiteral("English"), QStringLiteral("SI"));
    CDimsafeEdit::Initialize(QStringLiteral("/no/such/folder/Unit_Database.xml"), QStringLiteral("CGS"),
                             QStringLiteral("Imperial"));
    EXPECT_EQ(CDimsafeEdit::GetStorageUnitSystem(), QStringLiteral("English"));
    EXPECT_EQ(CDimsafeEdit::GetCurrentUnitSystem(), QStringLiteral("SI"));
    EXPECT_NEAR(ConvertValue(QStringLiteral("Length"), 1, true), 0.3048, 1e-15) << "still started";
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(Connection, TerminateEndsTheConnectionAndDoesNothingTwice) {
    CDimsafeEdit::Terminate();
    start(QStringLiteral("English"), QStringLiteral("SI"));
    CDimsafeEdit::Terminate();
    CDimsafeEdit::Terminate();
    EXPECT_EQ(ConvertValue(QStringLiteral("Length"), 200, true), 200.0) << "not started: the input comes back";
    EXPECT_EQ(symbolOf(QStringLiteral("Length")), QString());
    start(QStringLiteral("SI"), QStringLiteral("English"));
    EXPECT_NEAR(ConvertValue(QStringLiteral("Length"), 0.3048, true), 1.0, 1e-15) << "and it starts again";
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(Connection, MissingDatabaseIsReportedOnceAndLeavesTheConnectionUnstarted) {
    start(QStringLiteral("English"), QStringLiteral("SI"), QStringLiteral("/no/such/folder/Unit_Database.xml"));
    EXPECT_EQ(boxes.texts(), QStringList{"Unit Database File Not Found"});
    EXPECT_EQ(CDimsafeEdit::GetStorageUnitSystem(), QStringLiteral("English")) << "the names are taken all the same";
    EXPECT_EQ(CDimsafeEdit::GetCurrentUnitSystem(), QStringLiteral("SI"));

    // Everything falls back silently on an unstarted connection.
    EXPECT_EQ(ConvertValue(QStringLiteral("Length"), 200, true), 200.0);
    EXPECT_EQ(symbolOf(QStringLiteral("Length")), QString());
    QStringList listed{"not opened"};
    kestrum::test::ModalDriver modals;
    modals.next(chooseUnitSystem(QString(), IDOK, &listed));
    CDimsafeEdit::ChangeCurrentUnitSystem();
    EXPECT_EQ(listed, QStringList());
    EXPECT_EQ(CDimsafeEdit::GetCurrentUnitSystem(), QStringLiteral("SI"));
    EXPECT_EQ(boxes.texts().size(), 1);

    start(QStringLiteral("English"), QStringLiteral("SI"));
    EXPECT_NEAR(ConvertValue(QStringLiteral("Length"), 200, true), 60.96, 1e-12) << "a later start succeeds";
}

TEST_F(Connection, UnregisteredEngineLeavesTheConnectionUnstartedSilently) {
    const QByteArray registry = qgetenv("KESTRUM_REGISTRY");
    QTemporaryDir empty;
    qputenv("KESTRUM_REGISTRY", empty.filePath(QStringLiteral("classes.reg")).toLocal8Bit());
    start(QStringLiteral("English"), QStringLiteral("SI"));
    qputenv("KESTRUM_REGISTRY", registry);
    EXPECT_EQ(ConvertValue(QStringLiteral("Length"), 200, true), 200.0);
    EXPECT_TRUE(boxes.texts().isEmpty());
    start(QStringLiteral("English"), QStringLiteral("SI"));
    EXPECT_NEAR(ConvertValue(QStringLiteral("Length"), 200, true), 60.96, 1e-12);
}

TEST_F(Connection, TextOf260CharactersNeverReachesTheEngine) {
    start(QStringLiteral("English"), QStringLiteral("SI"));
    const QString longest(259, u'q');
    EXPECT_EQ(ConvertValue(longest, 3, true), 3.0);
    EXPECT_EQ(boxes.texts(), QStringList{"Quantity Not Found"}) << "259 characters reach the engine";
    boxes.clear();

    const QString tooLong = QStringLiteral("Length*") + QString(253, u'x');  // 260: would be cut into "Length*xx..."
    EXPECT_EQ(ConvertValue(tooLong, 3, true), 3.0);
    EXPECT_EQ(symbolOf(tooLong), QString());
    ASSERT_EQ(boxes.boxes().size(), 2u);
    for (const auto& box : boxes.boxes()) {
        EXPECT_TRUE(box.text.contains(QStringLiteral("too long"))) << box.text.toStdString();
        EXPECT_EQ(box.caption, QStringLiteral("Dimsafe Edit Control"));
    }
    boxes.clear();
    CDimsafeEdit::Terminate();

    start(QStringLiteral("English"), QStringLiteral("SI"), QStringLiteral("/") + QString(300, u'd') + QStringLiteral("/Unit_Database.xml"));
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts().first().contains(QStringLiteral("too long")));
    EXPECT_EQ(ConvertValue(QStringLiteral("Length"), 200, true), 200.0) << "not started";
}

TEST_F(Connection, ChoosingTheCurrentUnitSystem) {
    start(QStringLiteral("English"), QStringLiteral("English"));
    const HINSTANCE before = AfxGetResourceHandle();
    QStringList listed;
    kestrum::test::ModalDriver modals;
    modals.next(chooseUnitSystem(QStringLiteral("SI"), IDOK, &listed));
    CDimsafeEdit::ChangeCurrentUnitSystem();
    EXPECT_EQ(listed, (QStringList{"CGS", "English", "Imperial", "Oilfield", "SI", "selected: English"}));
    EXPECT_EQ(CDimsafeEdit::GetCurrentUnitSystem(), QStringLiteral("SI"));
    EXPECT_EQ(CDimsafeEdit::GetStorageUnitSystem(), QStringLiteral("English"));
    EXPECT_EQ(AfxGetResourceHandle(), before) << "the host's resources again";
    EXPECT_NEAR(ConvertValue(QStringLiteral("Length"), 200, true), 60.96, 1e-12);

    modals.next(chooseUnitSystem(QStringLiteral("CGS"), IDCANCEL));
    CDimsafeEdit::ChangeCurrentUnitSystem();
    EXPECT_EQ(CDimsafeEdit::GetCurrentUnitSystem(), QStringLiteral("SI")) << "Cancel changes nothing";

    modals.next(chooseUnitSystem(QString(), IDOK));
    CDimsafeEdit::ChangeCurrentUnitSystem();
    EXPECT_EQ(CDimsafeEdit::GetCurrentUnitSystem(), QStringLiteral("SI")) << "OK without a selection changes nothing";
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(Connection, UnitSystemListPreselectsTheWholeNameIgnoringCase) {
    start(QStringLiteral("English"), QStringLiteral("si"));
    QStringList listed;
    kestrum::test::ModalDriver modals;
    modals.next(chooseUnitSystem(QStringLiteral("SI"), IDCANCEL, &listed));
    CDimsafeEdit::ChangeCurrentUnitSystem();
    EXPECT_EQ(listed.last(), QStringLiteral("selected: SI"));
    CDimsafeEdit::Terminate();

    start(QStringLiteral("English"), QStringLiteral("Eng"));
    modals.next(chooseUnitSystem(QStringLiteral("SI"), IDCANCEL, &listed));
    CDimsafeEdit::ChangeCurrentUnitSystem();
    EXPECT_FALSE(listed.last().startsWith(QStringLiteral("selected"))) << "a mere beginning selects nothing";
}
