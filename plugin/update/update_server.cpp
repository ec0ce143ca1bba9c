#include "plugin/update/update_server.h"

#include <cstdlib>

#include "plugin/update/settings_key.h"
#include "registry.h"
#include "resources.h"

namespace {

const WCHAR kUnconfigured[] = L"updates.slitform.invalid";

}  // namespace

std::wstring UpdateServerAddress() {
    if (const char* server = std::getenv("SLITFORM_UPDATE_SERVER"); server && *server)
        return WideFromUtf8(server);
    std::wstring address = kUnconfigured;
    HKEY key = nullptr;
    if (RegOpenKeyW(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), &key) == ERROR_SUCCESS) {
        WCHAR text[256] = {};
        DWORD size = sizeof text;
        if (RegQueryValueExW(key, L"updateserver", nullptr, nullptr, reinterpret_cast<LPBYTE>(text),
                             &size) == ERROR_SUCCESS &&
            text[0] != L'\0')
            address = text;
        RegCloseKey(key);
    }
    return address;
}
