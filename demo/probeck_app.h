// The demo program: starts the edit-control library's engine connection on "Unit_Database.xml"
// in the working directory (storage and current unit system "English"), runs the demo dialog
// and ends the connection. With --screenshots DIR it writes pictures of its dialogs instead.
#pragma once

#include <kestrum/ui/app.h>

class CProbeckApp : public CWinApp {
public:
    CProbeckApp();

    bool InitInstance() override;
    int ExitInstance() override { return m_exitCode; }

private:
    int m_exitCode = 0;
};
