#include "engine_error.h"

#include "com_text.h"

#include <kestrum/KestrumLib.h>
#include <kestrum/ui/message_box.h>

void ShowEngineError(IMorvane* pIMorvane) {
    if (!pIMorvane) return;
    comrt::InterfacePtr<ISupportErrorInfo> support;
    if (FAILED(pIMorvane->QueryInterface(IID_ISupportErrorInfo, support.putVoid())) || !support) return;
    comrt::InterfacePtr<IErrorInfo> info;
    if (support->InterfaceSupportsErrorInfo(IID_IMorvane) != S_OK || GetErrorInfo(0, info.put()) != S_OK || !info)
        return;
    comrt::OwnedBstr source;
    comrt::OwnedBstr description;
    info->GetSource(source.put());
    info->GetDescription(description.put());
    const QString caption = ToQString(source);
    const QString text = ToQString(description);
    info.reset();
    MessageBox(nullptr, text, caption, MB_OK);
}
