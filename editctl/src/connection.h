// The library's one engine connection: one engine object reached through both its interfaces,
// the storage and current unit-system names, and whether the connection is started. It lives
// for the whole process; CDimsafeEdit's static operations start, stop and steer it.
#pragma once

#include "engine_text.h"

#include <comrt/owned.h>
#include <kestrum/KestrumLib.h>
#include <kestrum/ui/constants.h>

namespace kestrum::editctl {

struct Connection {
    CString m_sStorageUnitSystem = QStringLiteral("English");
    CString m_sCurrentUnitSystem = QStringLiteral("English");
    bool m_bInitialized = false;
    comrt::InterfacePtr<IMorvane> m_pConverter;     // set only while initialised
    comrt::InterfacePtr<IUnitDatabase> m_pDatabase;  // the same object; set only while initialised
};

// Made on first use, so the default names hold before any host code runs. Never destroyed: a
// connection the host did not end is not released while the process exits.
Connection& connection();

// True when text can be passed to the engine; otherwise the too-long message is shown.
bool checkEngineText(const EngineText& text);
// The strings of an engine array appended to pArray.
void appendStrings(const comrt::OwnedSafeArray& array, CStringArray* pArray);
// Shows the failure the engine object posted, as ShowEngineError does for the connection's.
void showEngineError(IMorvane* converter);

}  // namespace kestrum::editctl
