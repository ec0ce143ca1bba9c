#include "plugin/update/settings_key.h"

#include "plugin/update/ansi_text.h"
#include "plugin/update/plugin_info.h"

std::wstring SettingsKeyPath() {
    std::string path = "Software\\Orvane\\" + pluginInfo.name + "\\" + pluginInfo.hostYear;
    return AnsiToWide(path, path.size() + 1);
}
