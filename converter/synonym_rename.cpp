#include "synonym_rename.h"

void RenameSynonym(MorvaneEngine& engine, CEditListBox& list, const std::function<HRESULT(const QString&)>& remove,
                   const std::function<HRESULT(const QString&)>& add, const std::function<void()>& showEngineError) {
    const int selected = list.GetCurSel();
    if (selected == LB_ERR) return;
    const QString old = list.GetText(selected);
    const QString name = list.GetEntryName();
    const bool wasUnsaved = engine.HasUnsavedChanges();
    if (FAILED(remove(old))) {
        showEngineError();
        return;
    }
    if (FAILED(add(name))) {
        showEngineError();
        if (SUCCEEDED(add(old))) {
            engine.RestoreUnsavedChanges(wasUnsaved);
        } else {
            // The old synonym could not come back either: the list must not show it.
            SetErrorInfo(0, nullptr);
            DeleteSelection(list);
        }
        return;
    }
    ReplaceSelection(list, name);
}
