// The connection's life (Initialize, Terminate), the choice of the current unit system, and the
// routines through which controls and pick lists reach the engine.
#include "connection.h"

#include "library_module.h"

#include <kestrum/editctl/dimsafe_edit.h>
#include <kestrum/editctl/shared_converter.h>
#include <kestrum/editctl/unit_system_list_dlg.h>
#include <kestrum/ui/message_box.h>

#include <utility>

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

void appendStrings(const comrt::OwnedSafeArray& array, CStringArray* pArray) {
    comrt::ForEachElement<comrt::OwnedBstr>(array.get(),
                                            [&](const comrt::OwnedBstr& item) { pArray->append(fromEngineText(item.get())); });
}

void showEngineError(IMorvane* converter) {
    if (!converter) return;
    comrt::InterfacePtr<ISupportErrorInfo> support;
    if (FAILED(converter->QueryInterface(IID_ISupportErrorInfo, support.putVoid())) || !support) return;
    // IMorvane also for failures reached through IUnitDatabase: the object posts for both alike.
    if (support->InterfaceSupportsErrorInfo(IID_IMorvane) != S_OK) return;
    comrt::InterfacePtr<IErrorInfo> error;
    if (GetErrorInfo(0, error.put()) != S_OK || !error) return;
    comrt::OwnedBstr source;
    comrt::OwnedBstr description;
    error->GetSource(source.put());
    error->GetDescription(description.put());
    MessageBox(nullptr, QString::fromStdString(comrt::ToUtf8(description.get())),
               QString::fromStdString(comrt::ToUtf8(source.get())), MB_OK);
}

namespace {

// The engine object, reached through both its interfaces and started on the database at
// location, moved into c; on any failure c is left empty and what was reached is given back.
bool openEngine(const CString& location, Connection& c) {
    comrt::InterfacePtr<IMorvane> converter;
    if (FAILED(CoCreateInstance(CLSID_Morvane, nullptr, comrt::kClassContextLocal, IID_IMorvane, converter.putVoid())) ||
        !converter)
        return false;
    comrt::InterfacePtr<IUnitDatabase> database;
    if (FAILED(converter->QueryInterface(IID_IUnitDatabase, database.putVoid())) || !database) return false;
    EngineText text(location);
    if (!checkEngineText(text)) return false;
    if (FAILED(converter->Initialize(text.get()))) {
        showEngineError(converter.get());
        return false;
    }
    c.m_pConverter = std::move(converter);
    c.m_pDatabase = std::move(database);
    return true;
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
    comrt::OwnedBstr symbol;
    if (FAILED(c.m_pConverter->QuantityExpression_Symbol(system.get(), quantity.get(), symbol.put()))) {
        ShowEngineError();
        return;
    }
    copyToNarrow(symbol.get(), pSymbol, kSymbolBufferSize);
}

void ShowEngineError() { showEngineError(connection().m_pConverter.get()); }

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
    if (!kestrum::editctl::openEngine(sUnitDatabaseLocation, c)) {
        if (SUCCEEDED(com)) CoUninitialize();
        return;
    }
    c.m_bInitialized = true;
}

void CDimsafeEdit::Terminate() {
    Connection& c = connection();
    if (!c.m_bInitialized) return;
    c.m_pDatabase.reset();
    c.m_pConverter.reset();
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
    comrt::OwnedSafeArray systems;
    if (FAILED(c.m_pDatabase->UnitSystem_Set(systems.put())) || !systems) {
        kestrum::editctl::ShowEngineError();
        return;
    }
    kestrum::editctl::appendStrings(systems, pArray);
}

CString CDimsafeEdit::GetStorageUnitSystem() { return connection().m_sStorageUnitSystem; }

CString CDimsafeEdit::GetCurrentUnitSystem() { return connection().m_sCurrentUnitSystem; }
