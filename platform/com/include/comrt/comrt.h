// The Kestrum component runtime: the platform interfaces that in-process component servers
// and their clients are written against, implemented on Linux.
//
// Include this header only. It declares, in the global namespace and with the platform's
// names and meanings: status codes and identifiers (types.h); IUnknown and IClassFactory
// (unknown.h); UTF-8 and UTF-16 conversions (text.h); counted strings, safe arrays, variants
// (oleauto.h); error objects (errorinfo.h); IDispatch, type libraries and type information
// (dispatch.h); apartments, activation and identifier conversions (objbase.h); and the
// HKEY_CLASSES_ROOT registry (registry.h).
// Servers also include <comrt/typelib_description.h> to export their type library, and tests
// <comrt/faults.h> to make steps fail.
#pragma once

#include <comrt/types.h>
#include <comrt/unknown.h>
#include <comrt/text.h>
#include <comrt/oleauto.h>
#include <comrt/errorinfo.h>
#include <comrt/dispatch.h>
#include <comrt/objbase.h>
#include <comrt/registry.h>
