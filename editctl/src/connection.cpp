// The connection's life (Initialize, Terminate), the choice of the current unit system, and the
// routines through which controls and pick lists reach the engine.
#include "connection.h"

#include "library_module.h"

#include <kestrum/editctl/dimsafe_edit.h>
#include <kestrum/editctl/shared_converter.h>
#include <kestrum/editctl/unit_system_list_dlg.h>
#include <kestrum/ui/message_box.h>

namespace kestrum::editctl {

Connection& connection() {
    static Connection* const instance = new Connection;
    return *instance;
}

bool checkEngineText(const EngineText& text) {
    if (text.fits()) return true;
    MessageBox(nullptr, textTooLongMessage(text.text()), QString::fromLatin1(kTextTooLongCaption),
               MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void takeStringArray(SAFEARRAY* array, CStringArray* pArray) {
    LONG lower = 0;
    LONG upper = -1;
    BSTR* data = nullptr;
    if (SUCCEEDED(SafeArrayGetLBound(array, 1, &lower)) && SUCCEEDED(SafeArrayGetUBound(array, 1, &upper)) &&
        SUCCEEDED(SafeArrayAccessData(array, reinterpret_cast<void**>(&data)))) {
        for (LONG i = 0; i <= upper - lower; ++i) pArray->append(fromEngineText(data[i]));
        SafeArrayUnaccessData(array);
    }
    SafeArrayDestroy(array);
}

namespace {

void releaseEngine(Connection& c) {
    if (c.m_pDatabase) c.m_pDatabase->Release();
    c.m_pDatabase = nullptr;
    if (c.m_pConverter) c.m_pConverter->Release();
    c.m_pConverter = nullptr;
}

}  // namespace

double ConvertValue(const CString& sQuantity, double dValue, bool bToCurrent) {
    Connection& c = connection();
    if (c.m_sStorageUnitSystem == c.m_sCurrentUnitSystem) return dValue;
    if (!c.m_bInitialized) return dValue;
    double add = -99.0;
    double multiplyBy = -99.0;
    EngineText storage(c.m_sStorageUnitSystem);
    EngineText current(c.m_sCurrentUnitSystem);
    EngineText quantity(sQuantity);
    if (!checkEngineText(storage) || !checkEngineText(current) || !checkEngineText(quantity)) return dValue;
    EngineText& from = bToCurrent ? storage : current;
    EngineText& to = bToCurrent ? current : storage;
    const HRESULT hr = c.m_pConverter->QuantityExpression_Convert(from.get(), to.get(), quantity.get(), &add, &multiplyBy);
    if (FAILED(hr)) {
        ShowEngineError();
        return dValue;
    }
    return dValue * multiplyBy + add;
}

void GetSymbol(const CString& sQuantity, char* pSymbol) {
    Connection& c = connection();
    if (!c.m_bInitialized) return;
    EngineText system(c.m_sCurrentUnitSystem);
    EngineText quantity(sQuantity);
    if (!checkEngineText(system) || !checkEngineText(quantity)) return;
    BSTR symbol = nullptr;
    if (FAILED(c.m_pConverter->QuantityExpression_Symbol(system.get(), quantity.get(), &symbol))) {
        ShowEngineError();
        return;
    }
    copyToNarrow(symbol, pSymbol, kSymbolBufferSize);
    SysFreeString(symbol);
}

void ShowEngineError() {
    IMorvane* converter = connection().m_pConverter;
    if (!converter) return;
    ISupportErrorInfo* support = nullptr;
    if (FAILED(converter->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support))) || !support) return;
    // IMorvane also for failures reached through IUnitDatabase: the object posts for both alike.
    if (support->InterfaceSupportsErrorInfo(IID_IMorvane) != S_OK) {
        support->Release();
        return;
    }
    IErrorInfo* error = nullptr;
    if (GetErrorInfo(0, &error) != S_OK || !error) {
        support->Release();
        return;
    }
    BSTR source = nullptr;
    BSTR description = nullptr;
    error->GetSource(&source);
    error->GetDescription(&description);
    MessageBox(nullptr, QString::fromStdString(comrt::ToUtf8(description)), QString::fromStdString(comrt::ToUtf8(source)),
               MB_OK);
    SysFreeString(source);
    SysFreeString(description);
    error->Release();
    support->Release();
}

}  // namespace kestrum::editctl

using kestrum::editctl::connection;
using kestrum::editctl::Connection;

void CDimsafeEdit::Initialize(const CString& sUnitDatabaseLocation, const CString& sStorageUnitSystem,
                              const CString& sCurrentUnitSystem) {
    Connection& c = connection();
    if (c.m_bInitialized) return;
    c.m_sStorageUnitSystem = sStorageUnitSystem;
    c.m_sCurrentUnitSystem = sCurrentUnitSystem;

    // Any result but S_OK is no reason to stop; a call that succeeded is balanced if the start fails.
    const HRESULT com = CoInitialize(nullptr);
    const auto fail = [&] {
        kestrum::editctl::releaseEngine(c);
        if (SUCCEEDED(com)) CoUninitialize();
    };
    IMorvane* converter = nullptr;
    if (FAILED(CoCreateInstance(CLSID_Morvane, nullptr, 7, IID_IMorvane, reinterpret_cast<void**>(&converter))) ||
        !converter) {
        fail();
        return;
    }
    c.m_pConverter = converter;
    if (FAILED(c.m_pConverter->QueryInterface(IID_IUnitDatabase, reinterpret_cast<void**>(&c.m_pDatabase))) ||
        !c.m_pDatabase) {
        c.m_pDatabase = nullptr;
        fail();
        return;
    }
    kestrum::editctl::EngineText location(sUnitDatabaseLocation);
    if (!kestrum::editctl::checkEngineText(location)) {
        fail();
        return;
    }
    if (FAILED(c.m_pConverter->Initialize(location.get()))) {
        kestrum::editctl::ShowEngineError();
        fail();
        return;
    }
    c.m_bInitialized = true;
}

void CDimsafeEdit::Terminate() {
    Connection& c = connection();
    if (!c.m_bInitialized) return;
    kestrum::editctl::releaseEngine(c);
    CoUninitialize();
    c.m_bInitialized = false;
}

void CDimsafeEdit::ChangeCurrentUnitSystem() {
    Connection& c = connection();
    CUnitSystemListDlg dialog;
    dialog.SetUnitSystem(c.m_sCurrentUnitSystem);
    CStringArray systems;
    GetUnitSystems(&systems);
    dialog.SetUnitSystems(systems);
    int result = IDCANCEL;
    {
        kestrum::ui::ResourceScope scope(&kestrum::editctl::libraryModule());
        result = dialog.DoModal();
    }
    // OK with nothing selected chooses nothing: the current unit system stays.
    if (result == IDOK && !dialog.GetUnitSystem().isEmpty()) c.m_sCurrentUnitSystem = dialog.GetUnitSystem();
}

void CDimsafeEdit::GetUnitSystems(CStringArray* pArray) {
    pArray->clear();
    Connection& c = connection();
    if (!c.m_bInitialized) return;
    SAFEARRAY* systems = nullptr;
    if (FAILED(c.m_pDatabase->UnitSystem_Set(&systems)) || !systems) {
        kestrum::editctl::ShowEngineError();
        return;
    }
    kestrum::editctl::takeStringArray(systems, pArray);
}

CString CDimsafeEdit::GetStorageUnitSystem() { return connection().m_sStorageUnitSystem; }

CString CDimsafeEdit::GetCurrentUnitSystem() { return connection().m_sCurrentUnitSystem; }
