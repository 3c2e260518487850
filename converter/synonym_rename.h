// Renaming a synonym: the engine has no rename for synonyms, so the selected one is removed and
// the new name added. When the engine refuses the new name the old synonym is added back, so a
// refused rename loses nothing (and leaves the unsaved-changes mark as it was).
#pragma once

#include "edit_list_box.h"
#include "engine_connection.h"

#include <functional>

void RenameSynonym(MorvaneEngine& engine, CEditListBox& list, const std::function<HRESULT(const QString&)>& remove,
                   const std::function<HRESULT(const QString&)>& add, const std::function<void()>& showEngineError);
