// CMorvanePage: what the seven pages of the sheet share: the engine they work on, the program's
// folder, the help key and the display of engine failures.
#pragma once

#include "engine_connection.h"

#include <kestrum/ui/property_page.h>

class CMorvanePage : public CPropertyPage {
    Q_OBJECT
public:
    CMorvanePage(int nIDTemplate, MorvaneEngine& engine, const QString& programDir);

    // F1 opens Morvane.chm from the program's folder ("Help File Not Found" without it); the
    // command is always handled.
    bool OnCommandHelp() override;

protected:
    bool OnInitDialog() override;
    // Shows the description of the engine failure that has just happened.
    void ShowEngineError();

    MorvaneEngine& m_engine;
    const QString m_sProgramDir;
};
