// The entry points every plug-in library exports, as the host calls them.
#pragma once

#include "iparamb2.h"
#include "windefs.h"

// The interface generation of this host: release 22000, interface 55, revision 0.
#define HOST_LIBRARY_VERSION 0x55F03700u

typedef const WCHAR* (*LibDescriptionFn)();
typedef int (*LibNumberClassesFn)();
typedef ClassDesc2* (*LibClassDescFn)(int i);
typedef ULONG (*LibVersionFn)();
typedef int (*LibInitializeFn)();
typedef int (*LibShutdownFn)();
