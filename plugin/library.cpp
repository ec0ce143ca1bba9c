#include "plugin/library.h"

#include "plugin/module/init_order.h"
#include "plugin/module/module_handle.h"

BOOL DllMain(HINSTANCE hinstDLL, ULONG fdwReason, LPVOID) {
    if (fdwReason == DLL_PROCESS_ATTACH) {
        hInstance = hinstDLL;
        DisableThreadLibraryCalls(hinstDLL);
    }
    return TRUE;
}

namespace {

// Linux has no library entry; a load-time constructor plays the process attach,
// after the static objects, with the handle of this library.
__attribute__((constructor(INIT_ORDER_LIBRARY_ENTRY))) void AttachProcess() {
    DllMain(HostModuleOf(reinterpret_cast<const void*>(&AttachProcess)), DLL_PROCESS_ATTACH,
            nullptr);
}

}  // namespace
