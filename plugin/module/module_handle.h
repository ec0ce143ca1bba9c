// The library's module instance handle, for its resources.
#pragma once

#include "windefs.h"

// Stored by the library entry on process attach; nullptr before.
extern HINSTANCE hInstance;
