#include "morvane_page.h"

#include "engine_error.h"
#include "program_files.h"
#include "resource_ids.h"

#include <QLabel>

CMorvanePage::CMorvanePage(int nIDTemplate, MorvaneEngine& engine, const QString& programDir)
    : CPropertyPage(nIDTemplate), m_engine(engine), m_sProgramDir(programDir) {}

bool CMorvanePage::OnCommandHelp() {
    ShowHelp(this, m_sProgramDir);
    return true;
}

void CMorvanePage::ShowEngineError() { ::ShowEngineError(m_engine.morvane()); }

bool CMorvanePage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (auto* title = DlgItem<QLabel>(IDC_TITLE)) {
        QFont font = title->font();
        font.setBold(true);
        title->setFont(font);
    }
    return true;
}
