// What the engine's shared library exports: everything else is hidden (the build compiles
// with hidden visibility), so only what is marked here is part of its interface.
#pragma once

#define KESTRUM_ENGINE_API __attribute__((visibility("default")))
