// Symbol visibility of the GUI layer: the library is built with hidden visibility, so every
// class and function that programs and the edit-control library use is marked here.
#pragma once

#define KESTRUM_UI_API __attribute__((visibility("default")))
