#include "screenshots.h"

#include "about_dialog.h"
#include "morvane_sheet.h"
#include "name_dialog.h"
#include "program_files.h"
#include "resource_ids.h"
#include "select_preferred_unit_dialog.h"

#include <kestrum/ui/html_help.h>
#include <kestrum/ui/list_box.h>
#include <kestrum/ui/list_ctrl.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

void clickAt(QWidget* widget, const QPoint& at) {
    if (!widget) return;
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    QApplication::processEvents();
}

// Clicks an entry of a list, scrolled into view first as the user scrolls to it.
void choose(CListBox* list, const QString& text) {
    const int index = list ? list->FindStringExact(-1, text) : LB_ERR;
    if (index == LB_ERR) return;
    list->scrollToItem(list->item(index), QAbstractItemView::PositionAtCenter);
    clickAt(list->viewport(), list->visualItemRect(list->item(index)).center());
}

// Clicks, in order, the entry with the given text in each list of a page.
void chooseEach(kestrum::ui::DialogItems& page, std::initializer_list<std::pair<int, const char*>> choices) {
    for (const auto& [nID, text] : choices) choose(page.DlgItem<CListBox>(nID), QString::fromUtf8(text));
}

void click(kestrum::ui::DialogItems& dialog, int nID) {
    if (auto* button = dialog.DlgItem<QAbstractButton>(nID)) clickAt(button, button->rect().center());
}

void key(QWidget* widget, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

// Clicks into an edit, selects what it holds and types the text over it.
void type(kestrum::ui::DialogItems& dialog, int nID, const QString& text) {
    QWidget* edit = dialog.GetDlgItem(nID);
    if (!edit) return;
    clickAt(edit, edit->rect().center());
    edit->setFocus(Qt::MouseFocusReason);
    key(edit, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : text) key(edit, 0, Qt::NoModifier, QString(c));
}

void clickTab(CMorvaneSheet& sheet, int index) {
    auto* tabs = sheet.findChild<QTabWidget*>();
    if (QTabBar* bar = tabs ? tabs->tabBar() : nullptr) clickAt(bar, TabCentre(bar, index));
}

// The offscreen platform draws no window frame, so each picture gets a plain title bar with the
// window's icon and caption: the tour then shows what every window is called.
QPixmap framed(QWidget* window) {
    const bool wasHidden = window->isHidden();
    if (wasHidden) window->show();
    QApplication::processEvents();
    const QPixmap content = window->grab();
    if (wasHidden) window->hide();
    constexpr int kBorder = 1;
    constexpr int kBar = 24;
    QPixmap picture(content.width() + 2 * kBorder, content.height() + kBar + kBorder);
    picture.fill(QColor(0x4a, 0x4a, 0x4a));
    QPainter painter(&picture);
    QLinearGradient bar(0, 0, 0, kBar);
    bar.setColorAt(0, QColor(0x3f, 0x74, 0xbd));
    bar.setColorAt(1, QColor(0x2b, 0x57, 0x96));
    painter.fillRect(QRect(kBorder, kBorder, content.width(), kBar - kBorder), bar);
    int x = kBorder + 6;
    const QIcon icon = window->windowIcon();
    if (!icon.isNull()) {
        painter.drawPixmap(x, (kBar - 16) / 2, icon.pixmap(16, 16));
        x += 22;
    }
    QFont font = window->font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(x, 0, content.width() - x, kBar), Qt::AlignVCenter | Qt::AlignLeft, window->windowTitle());
    painter.drawPixmap(kBorder, kBar, content);
    return picture;
}

class Shooter {
public:
    explicit Shooter(const QString& folder) : m_folder(folder) { m_ok = QDir().mkpath(folder); }
    void shoot(QWidget* window, const QString& name) {
        if (!window || !framed(window).save(m_folder + u'/' + name, "PNG")) m_ok = false;
    }
    bool ok() const { return m_ok; }

private:
    QString m_folder;
    bool m_ok = true;
};

}  // namespace

bool WriteScreenshots(CMorvaneSheet& sheet, MorvaneEngine& engine, const QString& programDir, const QString& folder) {
    if (!sheet.Create()) return false;
    sheet.show();
    sheet.activateWindow();
    QApplication::processEvents();
    Shooter shooter(folder);
    shooter.shoot(&sheet, QStringLiteral("01-database-file.png"));

    clickTab(sheet, 1);
    chooseEach(sheet.m_byQuantityPage,
               {{IDC_QUANTITY_LIST, "Length"}, {IDC_FROM_UNIT_LIST, "mile"}, {IDC_TO_UNIT_LIST, "kilometre"}});
    shooter.shoot(&sheet, QStringLiteral("02-by-quantity.png"));

    clickTab(sheet, 2);
    chooseEach(sheet.m_byUnitSystemPage,
               {{IDC_QUANTITY_LIST, "Pressure"}, {IDC_FROM_SYSTEM_LIST, "SI"}, {IDC_TO_SYSTEM_LIST, "English"}});
    shooter.shoot(&sheet, QStringLiteral("03-by-unitsystem.png"));

    clickTab(sheet, 3);
    CByExpressionDlg& byExpression = sheet.m_byExpressionPage;
    type(byExpression, IDC_FROM_EXPRESSION, QStringLiteral("btu/(h*ft^2*delta_degF)"));
    type(byExpression, IDC_TO_EXPRESSION, QStringLiteral("W/(m^2*K)"));
    click(byExpression, IDC_DIMENSIONAL_ANALYSIS);
    click(byExpression, IDC_CONVERT);
    type(byExpression, IDC_UNIT_EXPRESSION, QStringLiteral("kg*m/s^2"));
    click(byExpression, IDC_SYMBOL_BUTTON);
    shooter.shoot(&sheet, QStringLiteral("04-by-expression.png"));

    clickTab(sheet, 4);
    chooseEach(sheet.m_quantityDatabasePage, {{IDC_QUANTITY_LIST, "Velocity"}});
    shooter.shoot(&sheet, QStringLiteral("05-quantity-database.png"));

    clickTab(sheet, 5);
    chooseEach(sheet.m_unitDatabasePage, {{IDC_QUANTITY_LIST, "Temperature"}, {IDC_UNIT_LIST, "degree_fahrenheit"}});
    shooter.shoot(&sheet, QStringLiteral("06-unit-database.png"));

    clickTab(sheet, 6);
    CUnitSystemDatabaseDlg& systems = sheet.m_unitSystemDatabasePage;
    chooseEach(systems, {{IDC_UNIT_SYSTEM_LIST, "English"}});
    if (auto* map = systems.DlgItem<CListCtrl>(IDC_PREFERRED_UNIT_MAP)) {
        for (int row = 0; row < map->GetItemCount(); ++row) {
            if (map->GetItemText(row, 0) != QLatin1String("Length")) continue;
            map->scrollToItem(map->topLevelItem(row), QAbstractItemView::PositionAtTop);
            clickAt(map->viewport(), map->visualItemRect(map->topLevelItem(row)).center());
        }
    }
    shooter.shoot(&sheet, QStringLiteral("07-unitsystem-database.png"));

    CNameDlg name(&sheet);
    name.m_sName = QStringLiteral("league");
    name.Create();
    shooter.shoot(&name, QStringLiteral("08-name.png"));

    CSelectPreferredUnitDlg preferred(engine, QStringLiteral("Length"), &sheet);
    preferred.Create();
    if (auto* list = preferred.DlgItem<CListBox>(IDC_PREFERRED_UNIT_LIST)) list->SetCurSel(list->FindStringExact(-1, QStringLiteral("foot")));
    shooter.shoot(&preferred, QStringLiteral("09-select-preferred-unit.png"));

    CAboutDlg about(&sheet);
    about.Create();
    shooter.shoot(&about, QStringLiteral("10-about.png"));

    QWidget* help = HtmlHelp(&sheet, programDir + QString::fromLatin1(kHelpFileName) + QStringLiteral("::/expressions.html"));
    shooter.shoot(help, QStringLiteral("11-help.png"));
    if (help) help->close();
    return shooter.ok();
}

QPoint TabCentre(const QTabBar* bar, int index) {
    // The bar's own tab rectangles give each tab's natural width; the rows are filled with them.
    std::vector<std::vector<int>> rows;
    int used = 0;
    for (int i = 0; i < bar->count(); ++i) {
        const int w = bar->tabRect(i).width();
        if (rows.empty() || (used + w > bar->width() && !rows.back().empty())) {
            rows.emplace_back();
            used = 0;
        }
        rows.back().push_back(i);
        used += w;
    }
    std::size_t current = 0;
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (std::find(rows[r].begin(), rows[r].end(), bar->currentIndex()) != rows[r].end()) current = r;
    const int rowHeight = rows.empty() ? 0 : bar->height() / int(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const auto& row = rows[(current + 1 + k) % rows.size()];
        const auto at = std::find(row.begin(), row.end(), index);
        if (at == row.end()) continue;
        int natural = 0;
        for (int i : row) natural += bar->tabRect(i).width();
        const int extra = std::max(0, bar->width() - natural) / int(row.size());
        int x = 0;
        for (auto i = row.begin(); i != at; ++i) x += bar->tabRect(*i).width() + extra;
        return {x + (bar->tabRect(index).width() + extra) / 2, int(k) * rowHeight + rowHeight / 2};
    }
    return {-1, -1};
}
