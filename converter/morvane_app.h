// CMorvaneApp: the program. Start-up initialises the component runtime, creates the one engine
// object and runs the property sheet modally as the main window; the program ends when the
// sheet closes. When the engine cannot be created no window is shown: one line on standard
// error says why and the exit code is not 0.
#pragma once

#include "engine_connection.h"

#include <kestrum/ui/app.h>

class CMorvaneApp : public CWinApp {
public:
    CMorvaneApp();

    bool InitInstance() override;
    int ExitInstance() override;

    // Set before Run: instead of running the sheet, write screenshots into this folder.
    void SetScreenshotFolder(const QString& folder) { m_sScreenshotFolder = folder; }

    MorvaneEngine m_engine;

private:
    void Fail(const QString& why);

    bool m_bComInitialized = false;
    int m_nExitCode = 0;
    QString m_sScreenshotFolder;
};
