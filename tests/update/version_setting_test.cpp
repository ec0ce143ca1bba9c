// The installed version, the version comparison and the stored automatic-check
// setting.
#include <gtest/gtest.h>

#include <cstring>

#include "plugin/module/module_handle.h"
#include "plugin/update/auto_check_setting.h"
#include "plugin/update/installed_version.h"
#include "plugin/update/is_newer_version.h"
#include "plugin/update/plugin_info.h"
#include "registry.h"
#include "update_fixture.h"
#include "version_resource.h"

TEST(IsNewerVersion, ComparesPartByPartAsNumbers) {
    struct Case {
        const char* candidate;
        bool newer;
    };
    for (Case c : {Case{"2.0.1.4", true}, Case{"2.0.1", false}, Case{"2.0.10", true},
                   Case{"2.0.1.3.1", true}, Case{"2..0.1.3", false}, Case{"2.0.x.5", false},
                   Case{"", false}, Case{"2.0.1.3", false}, Case{"3", true}, Case{"1.9.9.9", false},
                   Case{"2.0.1.3.0", false}})
        EXPECT_EQ(IsNewerVersion("2.0.1.3", c.candidate), c.newer) << c.candidate;
    EXPECT_TRUE(IsNewerVersion("", "0.0.1"));
    EXPECT_FALSE(IsNewerVersion("2.0.1.3", "2.0.0.99"));  // an earlier part decides
}

TEST_F(UpdateTest, LibInitializeReadsTheVersionResourceAndTheSetting) {
    EXPECT_EQ(pluginInfo.version, "2.0.1.3");
    EXPECT_EQ(InstalledVersion(hInstance), "2.0.1.3");
    EXPECT_EQ(InstalledVersion(nullptr), "");
    EXPECT_TRUE(pluginInfo.autoCheck);  // nothing stored yet
    EXPECT_EQ(pluginInfo.name, "Slitform");
    EXPECT_EQ(pluginInfo.extension, "dlm");
    EXPECT_EQ(pluginInfo.hostYear, "2020");

    pluginInfo.autoCheck = false;
    ASSERT_TRUE(WriteAutoCheckSetting());
    pluginInfo = PluginInfo();
    LibInitialize();
    EXPECT_FALSE(pluginInfo.autoCheck);
    EXPECT_EQ(pluginInfo.version, "2.0.1.3");
}

TEST_F(UpdateTest, VersionBlockIsLaidOutAsOnWindows) {
    HRSRC resource = FindResourceW(hInstance, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    ASSERT_NE(resource, nullptr);
    const BYTE* block = static_cast<const BYTE*>(LockResource(LoadResource(hInstance, resource)));
    WORD length = 0;
    std::memcpy(&length, block, sizeof length);
    EXPECT_EQ(length, SizeofResource(hInstance, resource));
    // The key follows the three words; with a 4-byte WCHAR it is not aligned.
    WCHAR key[16];
    std::memcpy(key, block + 6, sizeof key);
    EXPECT_EQ(std::wstring(key, 15), L"VS_VERSION_INFO");
    EXPECT_EQ(key[15], L'\0');
    EXPECT_EQ(FindResourceW(hInstance, MAKEINTRESOURCEW(2), RT_VERSION), nullptr);
    EXPECT_EQ(FindResourceW(hInstance, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(2)),
              nullptr);
}

TEST_F(UpdateTest, SettingIsStoredAsDecimalText) {
    pluginInfo.autoCheck = false;
    ASSERT_TRUE(WriteAutoCheckSetting());
    EXPECT_EQ(StoredAutoCheck(), L"0");
    pluginInfo.autoCheck = true;
    ASSERT_TRUE(WriteAutoCheckSetting());  // the key exists now: opened, not made
    EXPECT_EQ(StoredAutoCheck(), L"1");
    pluginInfo.autoCheck = false;
    ReadAutoCheckSetting();
    EXPECT_TRUE(pluginInfo.autoCheck);
}

TEST_F(UpdateTest, UnreadableSettingKeepsTheDefault) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Orvane\\Slitform\\2020", &key),
              ERROR_SUCCESS);
    // Too long for the setting's buffer of four characters.
    const WCHAR longText[] = L"12345";
    ASSERT_EQ(RegSetValueExW(key, L"autocheckversion", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(longText), sizeof longText),
              ERROR_SUCCESS);
    RegCloseKey(key);
    pluginInfo.autoCheck = false;
    ReadAutoCheckSetting();
    EXPECT_FALSE(pluginInfo.autoCheck);  // unchanged

    ASSERT_EQ(RegOpenKeyW(HKEY_CURRENT_USER, L"SOFTWARE\\orvane\\SLITFORM\\2020", &key),
              ERROR_SUCCESS);
    const WCHAR text[] = L"x";  // not a number: reads as 0
    RegSetValueExW(key, L"AutoCheckVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   sizeof text);
    RegCloseKey(key);
    pluginInfo.autoCheck = true;
    ReadAutoCheckSetting();
    EXPECT_FALSE(pluginInfo.autoCheck);
}
