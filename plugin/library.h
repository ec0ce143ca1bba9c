// The library entry of the plug-in: stores the module handle on process attach.
#pragma once

#include "windefs.h"

extern "C" HOST_DLLEXPORT BOOL DllMain(HINSTANCE hinstDLL, ULONG fdwReason, LPVOID lpvReserved);
