#include "engine_error.h"

#include <kestrum/KestrumLib.h>
#include <kestrum/ui/message_box.h>

namespace {

QString takeText(BSTR& text) {
    const QString result =
        text ? QString::fromUtf16(reinterpret_cast<const char16_t*>(text), SysStringLen(text)) : QString();
    SysFreeString(text);
    text = nullptr;
    return result;
}

}  // namespace

void ShowEngineError(IMorvane* pIMorvane) {
    if (!pIMorvane) return;
    ISupportErrorInfo* pSupport = nullptr;
    if (FAILED(pIMorvane->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&pSupport))) || !pSupport)
        return;
    IErrorInfo* pInfo = nullptr;
    if (pSupport->InterfaceSupportsErrorInfo(IID_IMorvane) == S_OK && GetErrorInfo(0, &pInfo) == S_OK && pInfo) {
        BSTR source = nullptr;
        BSTR description = nullptr;
        pInfo->GetSource(&source);
        pInfo->GetDescription(&description);
        const QString caption = takeText(source);
        const QString text = takeText(description);
        pInfo->Release();
        MessageBox(nullptr, text, caption, MB_OK);
    }
    pSupport->Release();
}
