// CWinApp: the program object. Run makes the Qt application (unless one exists), calls
// InitInstance, runs the event loop only when InitInstance answers true, and returns
// ExitInstance's answer as the program's exit code. A dialog-based program runs its dialog in
// InitInstance and answers false.
#pragma once

#include <kestrum/ui/export.h>

#include <QIcon>
#include <QString>
#include <QStringList>

class QWidget;

class KESTRUM_UI_API CWinApp {
public:
    explicit CWinApp(const QString& appName);
    virtual ~CWinApp();
    Q_DISABLE_COPY(CWinApp)

    int Run(int& argc, char** argv);

    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return 0; }

    QIcon LoadIcon(int nIDResource) const;  // along the resource lookup; a null icon when missing
    QStringList arguments() const;

    QString m_pszAppName;
    QWidget* m_pMainWnd = nullptr;
};

KESTRUM_UI_API CWinApp* AfxGetApp();
// The program object's main window, else the active window (null when there is none).
KESTRUM_UI_API QWidget* AfxGetMainWnd();
KESTRUM_UI_API QString AfxGetAppName();
