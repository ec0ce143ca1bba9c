// Where the plug-in keeps its settings under the current user.
#pragma once

#include <string>

// Software\Orvane\<name>\<host year>, of pluginInfo.
std::wstring SettingsKeyPath();
