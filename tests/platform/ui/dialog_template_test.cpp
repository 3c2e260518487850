// Dialog templates as a resource script states them: each control statement adds its own
// default styles, and a dialog stated with DIALOG opens exactly as the same template spelled out
// field by field.
#include <kestrum/ui/dialog.h>
#include <kestrum/ui/dialog_template.h>
#include <kestrum/ui/resources.h>

#include <qt_test_support.h>

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include <vector>

using namespace kestrum::ui;
using kestrum::test::ModalDriver;

namespace {

struct StatementRow {
    const char* name;
    ControlTemplate made;
    ControlClass cls;
    std::uint32_t style;  // the defaults with WS_DISABLED, the style the row passes
};

TEST(DialogTemplate, EachStatementAddsItsClassAndDefaultStyles) {
    const QString text = QStringLiteral("t");
    const std::vector<StatementRow> rows = {
        {"LTEXT", LTEXT(text, 11, 1, 2, 3, 4, WS_DISABLED), ControlClass::Static, SS_LEFT | WS_GROUP},
        {"RTEXT", RTEXT(text, 11, 1, 2, 3, 4, WS_DISABLED), ControlClass::Static, SS_RIGHT | WS_GROUP},
        {"CTEXT", CTEXT(text, 11, 1, 2, 3, 4, WS_DISABLED), ControlClass::Static, SS_CENTER | WS_GROUP},
        {"PUSHBUTTON", PUSHBUTTON(text, 11, 1, 2, 3, 4, WS_DISABLED), ControlClass::Button, BS_PUSHBUTTON | WS_TABSTOP},
        {"DEFPUSHBUTTON", DEFPUSHBUTTON(text, 11, 1, 2, 3, 4, WS_DISABLED), ControlClass::Button,
         BS_DEFPUSHBUTTON | WS_TABSTOP},
        {"AUTOCHECKBOX", AUTOCHECKBOX(text, 11, 1, 2, 3, 4, WS_DISABLED), ControlClass::Button,
         BS_AUTOCHECKBOX | WS_TABSTOP},
        {"AUTORADIOBUTTON", AUTORADIOBUTTON(text, 11, 1, 2, 3, 4, WS_DISABLED), ControlClass::Button, BS_AUTORADIOBUTTON},
        {"GROUPBOX", GROUPBOX(text, 11, 1, 2, 3, 4, WS_DISABLED), ControlClass::Button, BS_GROUPBOX},
        {"EDITTEXT", EDITTEXT(11, 1, 2, 3, 4, WS_DISABLED), ControlClass::Edit, ES_LEFT | WS_BORDER | WS_TABSTOP},
        {"LISTBOX", LISTBOX(11, 1, 2, 3, 4, WS_DISABLED), ControlClass::ListBox, LBS_NOTIFY | WS_BORDER},
    };
    for (const StatementRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.made.cls, row.cls);
        EXPECT_EQ(row.made.style, row.style | WS_DISABLED);
        EXPECT_EQ(row.made.id, 11);
        EXPECT_EQ(row.made.text, row.made.cls == ControlClass::Edit || row.made.cls == ControlClass::ListBox ? QString() : text);
        EXPECT_EQ((std::vector<int>{row.made.x, row.made.y, row.made.cx, row.made.cy}), (std::vector<int>{1, 2, 3, 4}));
    }
}

struct Shown {
    QString title;
    QSize size;
    QRect button;
    QString buttonText;
};

Shown showTemplate(int id) {
    CDialog dialog(id);
    ModalDriver driver;
    Shown shown;
    driver.next([&](QWidget* window) {
        auto* button = dialog.DlgItem<QPushButton>(IDOK);
        shown = {window->windowTitle(), window->size(), button->geometry(), button->text()};
        QTest::mouseClick(button, Qt::LeftButton);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    return shown;
}

TEST(DialogTemplate, ADialogStatementOpensAsTheTemplateSpelledOut) {
    const std::uint32_t style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    ResourceModule::application().addDialog(
        DIALOG(9601, 150, 70, style, QStringLiteral("Stated"), {DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 90, 45, 50, 14)}));
    ResourceModule::application().addDialog(DialogTemplate{.id = 9602,
                                                           .caption = QStringLiteral("Stated"),
                                                           .cx = 150,
                                                           .cy = 70,
                                                           .style = style,
                                                           .controls = {DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 90, 45, 50, 14)}});
    const Shown stated = showTemplate(9601);
    const Shown spelled = showTemplate(9602);
    EXPECT_EQ(stated.title, QStringLiteral("Stated"));
    EXPECT_EQ(stated.buttonText, QStringLiteral("OK"));
    EXPECT_EQ(stated.size, spelled.size);
    EXPECT_GT(stated.size.width(), stated.size.height()) << "150 wide, 70 high in dialog units";
    EXPECT_EQ(stated.button, spelled.button);
}

}  // namespace
