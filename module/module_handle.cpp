#include "module/module_handle.h"

HINSTANCE hInstance = nullptr;
