// Library-wide state of the plug-in: the module handle, string lookup and the
// order in which the static objects are constructed at load time.
#pragma once

#include "windefs.h"

// Static objects are constructed in this order, before the library entry runs.
#define INIT_ORDER_PLUGIN_INFO 1001
#define INIT_ORDER_CLASS_DESC 1002
#define INIT_ORDER_PARAM_DESC 1003
#define INIT_ORDER_LIBRARY_ENTRY 1004

// The module instance handle, stored by the library entry on process attach.
extern HINSTANCE hInstance;

// The library entry: stores the module handle on process attach.
extern "C" HOST_DLLEXPORT BOOL DllMain(HINSTANCE hinstDLL, ULONG fdwReason, LPVOID lpvReserved);

// String id of the string table in the one shared 512-character buffer (each call
// overwrites the previous text), or nullptr before the handle is set or when the
// string does not exist.
const WCHAR* GetString(int id);
