// The wait cursor over the whole program while an object lives (nested ones stack). Message
// boxes shown meanwhile get the arrow back for as long as they are open.
#pragma once

#include <kestrum/ui/export.h>

#include <QtGlobal>

class KESTRUM_UI_API CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    Q_DISABLE_COPY(CWaitCursor)

    // Shows the wait cursor again after something replaced it.
    void Restore();
};
