// The six entry points the host calls on the library.
#include "plugin/class_desc.h"
#include "plugin/module/module_handle.h"
#include "plugin/module/module_string.h"
#include "plugin/ui/resource.h"
#include "plugin/update/auto_check_setting.h"
#include "plugin/update/installed_version.h"
#include "plugin/update/plugin_info.h"
#include "plugin_api.h"

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
