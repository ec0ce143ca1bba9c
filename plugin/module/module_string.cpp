#include "plugin/module/module_string.h"

#include "plugin/module/module_handle.h"

const WCHAR* GetString(int id) {
    static WCHAR buf[512];
    if (hInstance && LoadStringW(hInstance, static_cast<UINT>(id), buf, 512) > 0)
        return buf;
    return nullptr;
}
