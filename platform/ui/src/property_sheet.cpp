#include <kestrum/ui/property_sheet.h>

#include "modal_owner.h"
#include "start_focus.h"
#include "stacked_tab_bar.h"

#include <kestrum/ui/dialog_units.h>

#include <QBoxLayout>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QTabWidget>

#include <utility>

namespace {

// The platform's sheet: 7-unit margins, 4-unit gaps, 50 x 14 buttons.
constexpr int kMargin = 7;
constexpr int kGap = 4;
constexpr QSize kButton{50, 14};

}  // namespace

CPropertySheet::CPropertySheet(const QString& caption, QWidget* pParentWnd, int iSelectPage)
    : MessageWindow<QDialog>(pParentWnd),
      m_tabs(new kestrum::ui::SheetTabWidget(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)),
      m_windowMenu(this),
      m_startPage(iSelectPage) {
    setWindowTitle(caption);
    const QFont font = kestrum::ui::templateFont(QStringLiteral("MS Sans Serif"), 8);
    setFont(font);
    const kestrum::ui::DialogBaseUnits base = kestrum::ui::baseUnits(font);
    const QRect margin = kestrum::ui::mapDialogRect({kMargin, kMargin, kGap, kGap}, base);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(margin.x(), margin.y(), margin.x(), margin.y());
    layout->setSpacing(margin.height());
    layout->addWidget(m_tabs);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(margin.width());
    buttons->addStretch();
    for (QPushButton* button : {m_ok, m_cancel}) {
        button->setFixedSize(kestrum::ui::mapDialogSize(kButton, base));
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    m_ok->setDefault(true);

    connect(m_ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { OnCancel(); });
    connect(m_tabs, &QTabWidget::currentChanged, this, &CPropertySheet::tabChosen);
    // The platform's keys for the next and the previous page work wherever the focus is in
    // the sheet, the OK and Cancel buttons included, and wrap round.
    const std::pair<QKeySequence, int> steps[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto& [keys, step] : steps) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] { stepPage(step); });
    }
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] {
        if (CPropertyPage* page = GetActivePage()) page->OnCommandHelp();
    });
}

CPropertySheet::~CPropertySheet() {
    // The pages belong to the program: take them out before the sheet deletes its children.
    // Taking out the current page makes the tabs choose another one; that is no page change,
    // and must not run the pages' OnKillActive or OnSetActive.
    const QSignalBlocker block(m_tabs);
    for (const QPointer<CPropertyPage>& page : m_pages) {
        if (!page) continue;
        page->hide();
        page->setParent(nullptr);
    }
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    m_pages.emplace_back(pPage);
    if (m_built) m_tabs->addTab(pPage, pPage->title());
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return nPage >= 0 && nPage < int(m_pages.size()) ? m_pages[nPage].data() : nullptr;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(m_active); }

bool CPropertySheet::EnableStackedTabs(bool bStacked) {
    if (m_built) return m_stackedTabs != nullptr;
    if (bStacked && !m_stackedTabs) {
        m_stackedTabs = new kestrum::ui::StackedTabBar(m_tabs);
        static_cast<kestrum::ui::SheetTabWidget*>(m_tabs)->useTabBar(m_stackedTabs);
    }
    return m_stackedTabs != nullptr;
}

bool CPropertySheet::build() {
    if (m_built) return true;
    int widest = 0;
    for (const QPointer<CPropertyPage>& page : m_pages) {
        const kestrum::ui::DialogTemplate* t = page ? page->dialogTemplate() : nullptr;
        if (!t) {
            qWarning("Property sheet: a page's dialog template is missing");
            return false;
        }
        const QFont font = kestrum::ui::templateFont(t->fontFace, t->pointSize);
        page->setMinimumSize(kestrum::ui::mapDialogSize({t->cx, t->cy}, kestrum::ui::baseUnits(font)));
        widest = qMax(widest, page->minimumWidth());
    }
    if (m_stackedTabs) m_stackedTabs->setRowWidth(widest);
    {
        const QSignalBlocker block(m_tabs);
        for (const QPointer<CPropertyPage>& page : m_pages) m_tabs->addTab(page, page->title());
    }
    m_built = true;
    if (m_pages.empty()) return true;
    const int start = qBound(0, m_startPage, int(m_pages.size()) - 1);
    if (!activate(start)) return false;
    const QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(start);
    return true;
}

bool CPropertySheet::activate(int index) {
    CPropertyPage* next = GetPage(index);
    if (!next) return false;
    CPropertyPage* current = GetActivePage();
    if (current && current != next && !current->OnKillActive()) return false;
    if (!next->ensureCreated()) return false;
    m_active = index;
    // Enter presses the current page's default button, and the sheet's OK on a page without
    // one. Qt gives a dialog one default button, which a page's button takes when it is made.
    QPushButton* pageDefault = next->templateDefaultButton();
    (pageDefault ? pageDefault : m_ok)->setDefault(true);
    next->OnSetActive();
    return true;
}

void CPropertySheet::tabChosen(int index) {
    if (index == m_active) return;
    if (!activate(index)) {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(m_active);
    }
}

void CPropertySheet::focusFirstTabStop(CPropertyPage* page) {
    for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if ((control->focusPolicy() & Qt::TabFocus) && control->isEnabled() && control->isVisibleTo(page)) {
            // The tabs may have given the focus back to it already, without selecting its text.
            if (control->hasFocus()) {
                if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
            } else {
                control->setFocus(Qt::TabFocusReason);
            }
            return;
        }
    }
}

void CPropertySheet::stepPage(int step) {
    const int count = m_tabs->count();
    if (count < 2) return;
    int index = m_tabs->currentIndex();
    for (int pass = 1; pass < count; ++pass) {
        index = (index + step + count) % count;
        if (m_tabs->isTabEnabled(index)) {
            m_tabs->setCurrentIndex(index);  // as a click on the tab: the current page may refuse
            // The keys take the focus along to the page they show.
            if (m_tabs->currentIndex() == index) focusFirstTabStop(GetActivePage());
            return;
        }
    }
}

bool CPropertySheet::SetActivePage(int nPage) {
    if (!m_built) {
        m_startPage = nPage;
        return true;
    }
    if (nPage == m_active) return true;
    if (!activate(nPage)) return false;
    const QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(nPage);
    return true;
}

int CPropertySheet::DoModal() {
    if (!build()) return -1;
    const kestrum::ui::ModalOwner owner(this);
    const int result = exec();
    return result == QDialog::Rejected ? IDCANCEL : result;
}

bool CPropertySheet::Create(QWidget* pParentWnd) {
    if (pParentWnd) setParent(pParentWnd, windowFlags());
    return build();
}

void CPropertySheet::EndDialog(int nResult) { done(nResult); }

CMenu* CPropertySheet::GetSystemMenu(bool bRevert) {
    if (bRevert) {
        m_windowMenu.reset();
        return nullptr;
    }
    return m_windowMenu.menu();
}

bool CPropertySheet::OnQueryClose(int nResult) {
    Q_UNUSED(nResult);
    return true;
}

void CPropertySheet::OnOK() {
    if (CPropertyPage* page = GetActivePage(); page && !page->OnKillActive()) return;
    if (!OnQueryClose(IDOK)) return;
    for (const QPointer<CPropertyPage>& page : m_pages)
        if (page && page->m_created) page->OnOK();
    EndDialog(IDOK);
}

void CPropertySheet::OnCancel() {
    if (!OnQueryClose(IDCANCEL)) return;
    for (const QPointer<CPropertyPage>& page : m_pages)
        if (page && page->m_created) page->OnCancel();
    EndDialog(IDCANCEL);
}

void CPropertySheet::OnSysCommand(unsigned nID, qintptr lParam) {
    for (const QPointer<CPropertyPage>& page : m_pages)
        if (page && page->m_created && page->OnSysCommand(nID, lParam)) return;
    if ((nID & 0xFFF0) == SC_CLOSE) OnCancel();
}

qintptr CPropertySheet::WindowProc(unsigned message, quintptr wParam, qintptr lParam) {
    if (message == WM_SYSCOMMAND) {
        OnSysCommand(unsigned(wParam), lParam);
        return 0;
    }
    return MessageWindow<QDialog>::WindowProc(message, wParam, lParam);
}

void CPropertySheet::accept() { OnOK(); }

void CPropertySheet::reject() { OnCancel(); }

void CPropertySheet::contextMenuEvent(QContextMenuEvent* event) {
    if (m_windowMenu.handleContextMenu(event)) return;
    MessageWindow<QDialog>::contextMenuEvent(event);
}

void CPropertySheet::showEvent(QShowEvent* event) {
    MessageWindow<QDialog>::showEvent(event);
    if (event->spontaneous()) return;
    // The sheet starts with the focus on the current page's first tab stop, not on the tabs,
    // unless the page has put it somewhere itself.
    CPropertyPage* page = GetActivePage();
    QWidget* focus = focusWidget();
    if (page && !(focus && page->isAncestorOf(focus))) focusFirstTabStop(page);
    kestrum::ui::selectEditFocusedAtStart(this);
}
