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
#include <QLinearGradient>
#include <QPainter>

namespace {

// Selects an entry as a click does, so the page hears of it.
void choose(CListBox* list, const QString& text) {
    const int index = list ? list->FindStringExact(-1, text) : LB_ERR;
    if (index == LB_ERR) return;
    list->setCurrentRow(index);
    list->scrollToItem(list->item(index), QAbstractItemView::PositionAtCenter);
}

void click(kestrum::ui::DialogItems& dialog, int nID) {
    if (auto* button = dialog.DlgItem<QAbstractButton>(nID)) button->click();
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
    Shooter shooter(folder);
    shooter.shoot(&sheet, QStringLiteral("01-database-file.png"));

    sheet.SetActivePage(1);
    CByQuantityDlg& byQuantity = sheet.m_byQuantityPage;
    choose(byQuantity.DlgItem<CListBox>(IDC_QUANTITY_LIST), QStringLiteral("Length"));
    choose(byQuantity.DlgItem<CListBox>(IDC_FROM_UNIT_LIST), QStringLiteral("mile"));
    choose(byQuantity.DlgItem<CListBox>(IDC_TO_UNIT_LIST), QStringLiteral("kilometre"));
    shooter.shoot(&sheet, QStringLiteral("02-by-quantity.png"));

    sheet.SetActivePage(2);
    CByUnitSystemDlg& byUnitSystem = sheet.m_byUnitSystemPage;
    choose(byUnitSystem.DlgItem<CListBox>(IDC_QUANTITY_LIST), QStringLiteral("Pressure"));
    choose(byUnitSystem.DlgItem<CListBox>(IDC_FROM_SYSTEM_LIST), QStringLiteral("SI"));
    choose(byUnitSystem.DlgItem<CListBox>(IDC_TO_SYSTEM_LIST), QStringLiteral("English"));
    shooter.shoot(&sheet, QStringLiteral("03-by-unitsystem.png"));

    sheet.SetActivePage(3);
    CByExpressionDlg& byExpression = sheet.m_byExpressionPage;
    byExpression.SetDlgItemText(IDC_FROM_EXPRESSION, QStringLiteral("btu/(h*ft^2*delta_degF)"));
    byExpression.SetDlgItemText(IDC_TO_EXPRESSION, QStringLiteral("W/(m^2*K)"));
    click(byExpression, IDC_DIMENSIONAL_ANALYSIS);
    click(byExpression, IDC_CONVERT);
    byExpression.SetDlgItemText(IDC_UNIT_EXPRESSION, QStringLiteral("kg*m/s^2"));
    click(byExpression, IDC_SYMBOL_BUTTON);
    shooter.shoot(&sheet, QStringLiteral("04-by-expression.png"));

    sheet.SetActivePage(4);
    choose(sheet.m_quantityDatabasePage.DlgItem<CListBox>(IDC_QUANTITY_LIST), QStringLiteral("Velocity"));
    shooter.shoot(&sheet, QStringLiteral("05-quantity-database.png"));

    sheet.SetActivePage(5);
    CUnitDatabaseDlg& units = sheet.m_unitDatabasePage;
    choose(units.DlgItem<CListBox>(IDC_QUANTITY_LIST), QStringLiteral("Temperature"));
    choose(units.DlgItem<CListBox>(IDC_UNIT_LIST), QStringLiteral("degree_fahrenheit"));
    shooter.shoot(&sheet, QStringLiteral("06-unit-database.png"));

    sheet.SetActivePage(6);
    CUnitSystemDatabaseDlg& systems = sheet.m_unitSystemDatabasePage;
    choose(systems.DlgItem<CListBox>(IDC_UNIT_SYSTEM_LIST), QStringLiteral("English"));
    if (auto* map = systems.DlgItem<CListCtrl>(IDC_PREFERRED_UNIT_MAP)) {
        for (int row = 0; row < map->GetItemCount(); ++row) {
            if (map->GetItemText(row, 0) != QLatin1String("Length")) continue;
            map->SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            map->scrollToItem(map->topLevelItem(row), QAbstractItemView::PositionAtTop);
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
