// The six entry points the host calls on the library.
#include "module/module_handle.h"
#include "module/module_string.h"
#include "plugin/class_desc.h"
#include "plugin_api.h"
#include "ui/resource.h"
#include "update/auto_check_setting.h"
#include "update/installed_version.h"
#include "update/plugin_info.h"

extern "C" {

HOST_DLLEXPORT const WCHAR* LibDescription() {
    return GetString(IDS_LIBDESCRIPTION);
}

HOST_DLLEXPORT int LibNumberClasses() {
    return 1;
}

HOST_DLLEXPORT ClassDesc2* LibClassDesc(int i) {
    return i == 0 ? GetSlitformDesc() : nullptr;
}

HOST_DLLEXPORT ULONG LibVersion() {
    return HOST_LIBRARY_VERSION;
}

HOST_DLLEXPORT int LibInitialize() {
    pluginInfo.version = InstalledVersion(hInstance);
    ReadAutoCheckSetting();
    return TRUE;
}

HOST_DLLEXPORT int LibShutdown() {
    return TRUE;
}
}
