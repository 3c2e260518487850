// Symbol visibility of the edit-control library: it is built with hidden visibility, so every
// class and routine a host uses is marked here.
#pragma once

#define DIMSAFE_EDITCTL_API __attribute__((visibility("default")))
