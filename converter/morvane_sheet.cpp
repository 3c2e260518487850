#include "morvane_sheet.h"

#include "morvane_resources.h"

#include <kestrum/ui/message_box.h>

#include <QTabWidget>

CMorvaneSheet::CMorvaneSheet(MorvaneEngine& engine, const QString& programDir)
    : CPropertySheet(QString::fromLatin1(kSheetTitle)),
      m_databaseFilePage(engine, programDir),
      m_byQuantityPage(engine, programDir),
      m_byUnitSystemPage(engine, programDir),
      m_byExpressionPage(engine, programDir),
      m_quantityDatabasePage(engine, programDir),
      m_unitDatabasePage(engine, programDir),
      m_unitSystemDatabasePage(engine, programDir),
      m_engine(engine) {
    RegisterMorvaneResources();
    setWindowIcon(MorvaneIcon());
    for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{
             &m_databaseFilePage, &m_byQuantityPage, &m_byUnitSystemPage, &m_byExpressionPage,
             &m_quantityDatabasePage, &m_unitDatabasePage, &m_unitSystemDatabasePage})
        AddPage(page);
    // Seven tabs do not fit in one row across the widest page: they stack in two.
    EnableStackedTabs();
}

CMorvaneSheet::~CMorvaneSheet() {
    // The pages die before the sheet: take them out of it first, as the sheet itself would,
    // without the tabs taking that for a change of page (which would write the current page's
    // entry back after a Cancel).
    if (auto* tabs = findChild<QTabWidget*>()) tabs->blockSignals(true);
    for (int i = 0; i < GetPageCount(); ++i) {
        if (CPropertyPage* page = GetPage(i)) {
            page->hide();
            page->setParent(nullptr);
        }
    }
}

bool CMorvaneSheet::OnQueryClose(int nResult) {
    Q_UNUSED(nResult);
    if (!m_engine.HasUnsavedChanges()) return true;
    switch (MessageBox(this, QStringLiteral("The Unit Database has unsaved changes. Save them?"), QStringLiteral("Morvane"),
                       MB_YESNOCANCEL | MB_ICONQUESTION)) {
        // A save that failed keeps the sheet open, so the changes are not lost with it.
        case IDYES: return m_databaseFilePage.SaveDatabase();
        case IDNO: return true;
        default: return false;
    }
}
