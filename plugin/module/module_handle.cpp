#include "plugin/module/module_handle.h"

HINSTANCE hInstance = nullptr;
