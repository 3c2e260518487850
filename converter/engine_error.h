// ShowEngineError: the program's one routine for engine failures. Right after an engine call
// failed, it shows the description the engine posted (text) and its source (caption) in a box
// without owner or icon; an error object without one of them shows it empty.
#pragma once

struct IMorvane;

void ShowEngineError(IMorvane* pIMorvane);
