#include "plugin/update/auto_check_setting.h"

#include <cstdio>
#include <cwchar>

#include "plugin/update/plugin_info.h"
#include "plugin/update/settings_key.h"
#include "registry.h"

namespace {

const WCHAR kValueName[] = L"autocheckversion";

}  // namespace

void ReadAutoCheckSetting() {
    HKEY key = nullptr;
    if (RegOpenKeyW(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), &key) != ERROR_SUCCESS)
        return;
    WCHAR text[4] = {};
    DWORD size = sizeof text;
    if (RegQueryValueExW(key, kValueName, nullptr, nullptr, reinterpret_cast<LPBYTE>(text),
                         &size) == ERROR_SUCCESS) {
        // Read as _wtoi reads: leading digits, 0 without any.
        text[3] = L'\0';
        pluginInfo.autoCheck = std::wcstol(text, nullptr, 10) != 0;
    }
    RegCloseKey(key);
}

bool WriteAutoCheckSetting() {
    WCHAR text[4] = {};
    std::swprintf(text, 4, L"%d", pluginInfo.autoCheck ? 1 : 0);
    HKEY key = nullptr;
    std::wstring path = SettingsKeyPath();
    if (RegOpenKeyW(HKEY_CURRENT_USER, path.c_str(), &key) != ERROR_SUCCESS &&
        RegCreateKeyW(HKEY_CURRENT_USER, path.c_str(), &key) != ERROR_SUCCESS)
        return false;
    // The digit and zeros fill the whole buffer.
    RegSetValueExW(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(key);
    return true;
}
