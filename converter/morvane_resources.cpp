#include "morvane_resources.h"

#include "resource_ids.h"

#include <kestrum/ui/dialog_template.h>
#include <kestrum/ui/menu.h>
#include <kestrum/ui/resources.h>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

using namespace kestrum::ui;

namespace {

constexpr std::uint32_t kPageStyle = WS_CHILD | WS_CAPTION | DS_SETFONT;
constexpr std::uint32_t kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_CENTER;
constexpr std::uint32_t kSortedList = LBS_SORT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
constexpr std::uint32_t kPlainList = WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;

// The "Multiply By ... And ... Add" line the three conversion pages end with.
void addResultLine(std::vector<ControlTemplate>& controls, int y) {
    controls.push_back(LTEXT(QStringLiteral("Multiply By"), IDC_STATIC, 7, y + 3, 40, 8));
    controls.push_back(EDITTEXT(IDC_MULTIPLY_BY, 48, y, 95, 14, ES_AUTOHSCROLL));
    controls.push_back(CTEXT(QStringLiteral("And"), IDC_STATIC, 146, y + 3, 18, 8));
    controls.push_back(LTEXT(QStringLiteral("Add"), IDC_STATIC, 167, y + 3, 16, 8));
    controls.push_back(EDITTEXT(IDC_ADD, 184, y, 90, 14, ES_AUTOHSCROLL));
}

DialogTemplate databaseFilePage() {
    return {.id = IDD_DATABASE_FILE,
            .caption = QStringLiteral("Database File"),
            .cx = 275,
            .cy = 212,
            .style = kPageStyle,
            .controls = {
                LTEXT(QStringLiteral("Database File Name"), IDC_STATIC, 7, 7, 150, 8),
                EDITTEXT(IDC_FILE_NAME, 7, 18, 205, 14, ES_AUTOHSCROLL),
                PUSHBUTTON(QStringLiteral("Browse..."), IDC_BROWSE, 218, 18, 50, 14),
                GROUPBOX(QStringLiteral("Reading a File"), IDC_STATIC, 7, 40, 120, 46),
                AUTORADIOBUTTON(QStringLiteral("Overwrite"), IDC_OVERWRITE, 15, 53, 100, 10, WS_GROUP | WS_TABSTOP),
                AUTORADIOBUTTON(QStringLiteral("Append"), IDC_APPEND, 15, 68, 100, 10),
                PUSHBUTTON(QStringLiteral("File: Open"), IDC_FILE_OPEN, 140, 46, 60, 14, WS_GROUP | WS_TABSTOP),
                PUSHBUTTON(QStringLiteral("File: Save"), IDC_FILE_SAVE, 208, 46, 60, 14),
                LTEXT(QString(), IDC_PICTURE, 7, 98, 64, 60, SS_CENTER),
                LTEXT(QStringLiteral("Morvane reads the Unit Database (quantities, units, unit systems and their "
                                     "synonyms) from the file named above when it starts.\n\n"
                                     "File: Open reads the named file. Overwrite replaces the database in memory "
                                     "with it; Append adds its entries to the database in memory.\n\n"
                                     "Changes made on the database pages stay in memory until File: Save writes "
                                     "them to the named file. To save under a new name, type it into the box.\n\n"
                                     "Press F1 on any page for help."),
                      IDC_STATIC, 80, 98, 188, 108),
            }};
}

DialogTemplate byQuantityPage() {
    DialogTemplate t{.id = IDD_BY_QUANTITY,
                     .caption = QStringLiteral("By Quantity"),
                     .cx = 281,
                     .cy = 213,
                     .style = kPageStyle,
                     .controls = {
                         LTEXT(QStringLiteral("Unit Conversion By Quantity"), IDC_TITLE, 7, 7, 267, 10),
                         LTEXT(QStringLiteral("Quantity"), IDC_STATIC, 7, 22, 98, 8),
                         LISTBOX(IDC_QUANTITY_LIST, 7, 32, 98, 146, kSortedList),
                         LTEXT(QStringLiteral("To Convert From Unit"), IDC_STATIC, 110, 22, 80, 8),
                         LISTBOX(IDC_FROM_UNIT_LIST, 110, 32, 80, 146, kSortedList),
                         LTEXT(QStringLiteral("To Unit"), IDC_STATIC, 195, 22, 79, 8),
                         LISTBOX(IDC_TO_UNIT_LIST, 195, 32, 79, 146, kSortedList),
                     }};
    addResultLine(t.controls, 188);
    return t;
}

DialogTemplate byUnitSystemPage() {
    DialogTemplate t{.id = IDD_BY_UNIT_SYSTEM,
                     .caption = QStringLiteral("By UnitSystem"),
                     .cx = 280,
                     .cy = 212,
                     .style = kPageStyle,
                     .controls = {
                         LTEXT(QStringLiteral("Unit Conversion By Unit System"), IDC_TITLE, 7, 7, 266, 10),
                         LTEXT(QStringLiteral("Quantity"), IDC_STATIC, 7, 29, 98, 8),
                         LISTBOX(IDC_QUANTITY_LIST, 7, 39, 98, 140, kSortedList),
                         LTEXT(QStringLiteral("To Convert From Unit System"), IDC_STATIC, 110, 20, 79, 17),
                         LISTBOX(IDC_FROM_SYSTEM_LIST, 110, 39, 79, 106, kSortedList),
                         LTEXT(QStringLiteral("Symbol"), IDC_STATIC, 110, 152, 79, 8),
                         EDITTEXT(IDC_FROM_SYMBOL, 110, 162, 79, 14, ES_AUTOHSCROLL),
                         LTEXT(QStringLiteral("To Unit System"), IDC_STATIC, 194, 29, 79, 8),
                         LISTBOX(IDC_TO_SYSTEM_LIST, 194, 39, 79, 106, kSortedList),
                         LTEXT(QStringLiteral("Symbol"), IDC_STATIC, 194, 152, 79, 8),
                         EDITTEXT(IDC_TO_SYMBOL, 194, 162, 79, 14, ES_AUTOHSCROLL),
                     }};
    addResultLine(t.controls, 188);
    return t;
}

DialogTemplate byExpressionPage() {
    DialogTemplate t{.id = IDD_BY_EXPRESSION,
                     .caption = QStringLiteral("By Expression"),
                     .cx = 285,
                     .cy = 149,
                     .style = kPageStyle,
                     .controls = {
                         LTEXT(QStringLiteral("Arbitrary Unit Conversion"), IDC_TITLE, 7, 7, 200, 10),
                         ICON(IDR_MAINFRAME, IDC_STATIC, 256, 4),
                         LTEXT(QStringLiteral("From Unit Expression"), IDC_STATIC, 7, 26, 112, 8),
                         EDITTEXT(IDC_FROM_EXPRESSION, 7, 36, 112, 14, ES_AUTOHSCROLL),
                         CTEXT(QStringLiteral("To"), IDC_STATIC, 124, 26, 40, 8),
                         DEFPUSHBUTTON(QStringLiteral("Convert"), IDC_CONVERT, 124, 36, 40, 14),
                         LTEXT(QStringLiteral("To Unit Expression"), IDC_STATIC, 169, 26, 109, 8),
                         EDITTEXT(IDC_TO_EXPRESSION, 169, 36, 109, 14, ES_AUTOHSCROLL),
                         AUTOCHECKBOX(QStringLiteral("Enable Dimensional Analysis"), IDC_DIMENSIONAL_ANALYSIS, 7, 80, 160,
                                      10),
                         LTEXT(QStringLiteral("Unit Expression"), IDC_STATIC, 7, 103, 112, 8),
                         EDITTEXT(IDC_UNIT_EXPRESSION, 7, 113, 112, 14, ES_AUTOHSCROLL),
                         PUSHBUTTON(QStringLiteral("Symbol"), IDC_SYMBOL_BUTTON, 124, 113, 40, 14),
                         LTEXT(QStringLiteral("Symbol"), IDC_STATIC, 169, 103, 109, 8),
                         EDITTEXT(IDC_SYMBOL_RESULT, 169, 113, 109, 14, ES_AUTOHSCROLL),
                     }};
    addResultLine(t.controls, 58);
    return t;
}

DialogTemplate quantityDatabasePage() {
    static const char* const kLabels[10] = {"Mass",           "Length",      "Time",        "Current",
                                            "Temperature",    "Amount Of Substance", "Luminosity",
                                            "Plane Angle",    "Solid Angle", "Money"};
    DialogTemplate t{.id = IDD_QUANTITY_DATABASE,
                     .caption = QStringLiteral("Quantity Database"),
                     .cx = 275,
                     .cy = 249,
                     .style = kPageStyle,
                     .controls = {
                         LTEXT(QStringLiteral("Quantity"), IDC_STATIC, 7, 7, 112, 8),
                         LISTBOX(IDC_QUANTITY_LIST, 7, 17, 112, 148, kSortedList),
                         LTEXT(QStringLiteral("Synonyms"), IDC_STATIC, 7, 171, 112, 8),
                         LISTBOX(IDC_SYNONYM_LIST, 7, 181, 112, 61, kSortedList),
                         LTEXT(QStringLiteral("Dimensions:"), IDC_STATIC, 128, 7, 140, 8),
                     }};
    for (int i = 0; i < 10; ++i) {
        const int y = 19 + 15 * i;
        t.controls.push_back(LTEXT(QString::fromLatin1(kLabels[i]), IDC_STATIC, 128, y + 3, 92, 8));
        t.controls.push_back(EDITTEXT(kDimensionEdits[i], 222, y, 46, 13, ES_AUTOHSCROLL | ES_RIGHT));
    }
    t.controls.push_back(LTEXT(QStringLiteral("Expression"), IDC_STATIC, 128, 171, 140, 8));
    t.controls.push_back(EDITTEXT(IDC_EXPRESSION, 128, 181, 140, 14, ES_AUTOHSCROLL));
    t.controls.push_back(LTEXT(QStringLiteral("Right-click the Quantity or Synonyms list to add, remove or rename "
                                              "an entry. A quantity with an expression takes its dimensions from it."),
                               IDC_STATIC, 128, 203, 140, 39));
    return t;
}

DialogTemplate unitDatabasePage() {
    return {.id = IDD_UNIT_DATABASE,
            .caption = QStringLiteral("Unit Database"),
            .cx = 275,
            .cy = 227,
            .style = kPageStyle,
            .controls = {
                LTEXT(QStringLiteral("Quantity"), IDC_STATIC, 7, 7, 80, 8),
                LISTBOX(IDC_QUANTITY_LIST, 7, 17, 80, 203, kSortedList),
                LTEXT(QStringLiteral("Unit"), IDC_STATIC, 92, 7, 80, 8),
                LISTBOX(IDC_UNIT_LIST, 92, 17, 80, 120, kSortedList),
                LTEXT(QStringLiteral("Synonyms"), IDC_STATIC, 92, 143, 80, 8),
                LISTBOX(IDC_SYNONYM_LIST, 92, 153, 80, 67, kSortedList),
                LTEXT(QStringLiteral("Conversion Factor"), IDC_STATIC, 177, 7, 91, 8),
                EDITTEXT(IDC_CONVERSION_FACTOR, 177, 17, 91, 14, ES_AUTOHSCROLL),
                LTEXT(QStringLiteral("Conversion Offset"), IDC_STATIC, 177, 37, 91, 8),
                EDITTEXT(IDC_CONVERSION_OFFSET, 177, 47, 91, 14, ES_AUTOHSCROLL),
                LTEXT(QStringLiteral("Expression"), IDC_STATIC, 177, 67, 91, 8),
                EDITTEXT(IDC_EXPRESSION, 177, 77, 91, 14, ES_AUTOHSCROLL),
                LTEXT(QStringLiteral("Symbol"), IDC_STATIC, 177, 97, 91, 8),
                EDITTEXT(IDC_SYMBOL, 177, 107, 91, 14, ES_AUTOHSCROLL),
                LTEXT(QStringLiteral("A value in this unit times the factor, plus the offset, is the value in the "
                                     "quantity's base unit. A unit with an expression takes both from it.\n\n"
                                     "Right-click the Unit or Synonyms list to add, remove or rename an entry."),
                      IDC_STATIC, 177, 131, 91, 89),
            }};
}

DialogTemplate unitSystemDatabasePage() {
    return {.id = IDD_UNIT_SYSTEM_DATABASE,
            .caption = QStringLiteral("UnitSystem Database"),
            .cx = 262,
            .cy = 249,
            .style = kPageStyle,
            .controls = {
                LTEXT(QStringLiteral("Unit System"), IDC_STATIC, 7, 7, 70, 8),
                LISTBOX(IDC_UNIT_SYSTEM_LIST, 7, 17, 70, 168, kSortedList),
                LTEXT(QStringLiteral("Quantity To Preferred Unit Map"), IDC_STATIC, 83, 7, 172, 8),
                CONTROL(QString(), IDC_PREFERRED_UNIT_MAP, ControlClass::ListView,
                        LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP |
                            WS_VISIBLE | WS_CHILD,
                        83, 17, 172, 168),
                LTEXT(QStringLiteral("To change the preferred unit of a quantity in a unit system, double-click on "
                                     "the Quantity column in the Quantity To Preferred Unit Map"),
                      IDC_STATIC, 7, 191, 248, 17),
                LTEXT(QStringLiteral("To remove the preferred unit of a quantity in a unit system, select the Quantity "
                                     "in the Quantity To Preferred Unit Map and hit the Delete Key"),
                      IDC_STATIC, 7, 210, 248, 17),
                LTEXT(QStringLiteral("Right-click the Unit System list to add, remove or rename a unit system."),
                      IDC_STATIC, 7, 231, 248, 9),
            }};
}

DialogTemplate nameDialog() {
    return {.id = IDD_NAME,
            .caption = QStringLiteral("Name"),
            .cx = 187,
            .cy = 70,
            .style = kDialogStyle,
            .controls = {
                LTEXT(QStringLiteral("Name"), IDC_STATIC, 7, 9, 173, 8),
                EDITTEXT(IDC_NAME, 7, 20, 173, 14, ES_AUTOHSCROLL),
                DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 76, 49, 50, 14),
                PUSHBUTTON(QStringLiteral("Cancel"), IDCANCEL, 130, 49, 50, 14),
            }};
}

DialogTemplate selectPreferredUnitDialog() {
    return {.id = IDD_SELECT_PREFERRED_UNIT,
            .caption = QStringLiteral("Select Preferred Unit"),
            .cx = 181,
            .cy = 106,
            .style = kDialogStyle,
            .controls = {
                LISTBOX(IDC_PREFERRED_UNIT_LIST, 7, 7, 112, 92, kSortedList),
                DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 124, 7, 50, 14),
                PUSHBUTTON(QStringLiteral("Cancel"), IDCANCEL, 124, 24, 50, 14),
            }};
}

DialogTemplate aboutBox() {
    return {.id = IDD_ABOUTBOX,
            .caption = QStringLiteral("About Morvane"),
            .cx = 217,
            .cy = 55,
            .style = kDialogStyle,
            .controls = {
                ICON(IDR_MAINFRAME, IDC_STATIC, 11, 13),
                LTEXT(QStringLiteral("Morvane Version 1.0"), IDC_STATIC, 40, 12, 130, 8),
                LTEXT(QStringLiteral("Unit conversion on the Kestrum engine"), IDC_STATIC, 40, 27, 130, 8),
                DEFPUSHBUTTON(QStringLiteral("OK"), IDOK, 178, 7, 32, 14, WS_GROUP),
            }};
}

// Draws the icon's design into a square of side s.
void paintIcon(QPainter& p, int s) {
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = s / 8.0;
    QLinearGradient fill(0, 0, 0, s);
    fill.setColorAt(0, QColor(0x3b, 0x7d, 0xd8));
    fill.setColorAt(1, QColor(0x1f, 0x4e, 0x96));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), r, r);

    // A ruler along the bottom: the units.
    const qreal base = s * 0.78;
    p.setPen(QPen(Qt::white, qMax(1.0, s / 24.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.16, base), QPointF(s * 0.84, base));
    for (int i = 0; i <= 6; ++i) {
        const qreal x = s * (0.16 + 0.68 * i / 6.0);
        const qreal h = (i % 3 == 0) ? s * 0.12 : s * 0.06;
        p.drawLine(QPointF(x, base), QPointF(x, base - h));
    }

    // Two arrows over it: converting one way and back.
    const qreal w = qMax(1.2, s / 14.0);
    p.setPen(QPen(QColor(0xff, 0xd2, 0x4a), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    auto arrow = [&](qreal y, bool right) {
        const qreal x0 = s * 0.2, x1 = s * 0.8, head = s * 0.12;
        p.drawLine(QPointF(x0, y), QPointF(x1, y));
        const qreal tip = right ? x1 : x0;
        const qreal back = right ? tip - head : tip + head;
        p.drawLine(QPointF(tip, y), QPointF(back, y - head * 0.8));
        p.drawLine(QPointF(tip, y), QPointF(back, y + head * 0.8));
    };
    arrow(s * 0.3, true);
    arrow(s * 0.52, false);
}

}  // namespace

QIcon MorvaneIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paintIcon(painter, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap DatabasePicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // A sheet of paper with XML lines behind...
    const QRectF sheet(s * 0.42, s * 0.06, s * 0.52, s * 0.64);
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    p.setBrush(QColor(0xfb, 0xfb, 0xf4));
    p.drawRect(sheet);
    p.setPen(QPen(QColor(0x3b, 0x7d, 0xd8), qMax(1.0, s / 48.0)));
    for (int i = 0; i < 6; ++i) {
        const qreal y = sheet.top() + sheet.height() * (0.15 + 0.13 * i);
        const qreal indent = (i == 0 || i == 5) ? 0.1 : 0.22;
        p.drawLine(QPointF(sheet.left() + sheet.width() * indent, y), QPointF(sheet.right() - sheet.width() * 0.12, y));
    }

    // ...and a database drum in front of it.
    const QRectF drum(s * 0.06, s * 0.3, s * 0.5, s * 0.62);
    const qreal lid = drum.height() * 0.22;
    QLinearGradient side(drum.left(), 0, drum.right(), 0);
    side.setColorAt(0, QColor(0x1f, 0x4e, 0x96));
    side.setColorAt(0.45, QColor(0x5a, 0x97, 0xe6));
    side.setColorAt(1, QColor(0x1f, 0x4e, 0x96));
    QPainterPath body;
    body.moveTo(drum.left(), drum.top() + lid / 2);
    body.lineTo(drum.left(), drum.bottom() - lid / 2);
    body.arcTo(QRectF(drum.left(), drum.bottom() - lid, drum.width(), lid), 180, 180);
    body.lineTo(drum.right(), drum.top() + lid / 2);
    body.closeSubpath();
    p.setPen(QPen(QColor(0x17, 0x3a, 0x70), 1));
    p.setBrush(side);
    p.drawPath(body);
    p.setPen(QPen(QColor(0xc8, 0xdc, 0xf8), qMax(1.0, s / 64.0)));
    p.setBrush(Qt::NoBrush);
    for (qreal band : {0.36, 0.62}) {
        const qreal y = drum.top() + drum.height() * band;
        p.drawArc(QRectF(drum.left(), y - lid / 2, drum.width(), lid), 180 * 16, 180 * 16);
    }
    p.setPen(QPen(QColor(0x17, 0x3a, 0x70), 1));
    p.setBrush(QColor(0x8c, 0xb8, 0xf0));
    p.drawEllipse(QRectF(drum.left(), drum.top(), drum.width(), lid));
    return pixmap;
}

void RegisterMorvaneResources() {
    ResourceModule& app = ResourceModule::application();
    for (const DialogTemplate& t : {databaseFilePage(), byQuantityPage(), byUnitSystemPage(), byExpressionPage(),
                                    quantityDatabasePage(), unitDatabasePage(), unitSystemDatabasePage(), nameDialog(),
                                    selectPreferredUnitDialog(), aboutBox()})
        app.addDialog(t);
    app.addMenu(IDR_EDIT_LIST_MENU, {POPUP(QStringLiteral("Edit"), {MENUITEM(QStringLiteral("Add"), ID_EDIT_ADD),
                                                                  MENUITEM(QStringLiteral("Remove"), ID_EDIT_REMOVE),
                                                                  MENUITEM(QStringLiteral("Rename"), ID_EDIT_RENAME)})});
    app.addString(IDS_ABOUTBOX, QStringLiteral("&About Morvane..."));
    app.addIcon(IDR_MAINFRAME, MorvaneIcon());
}
