// The Win32 stand-in under the update check: text conversion, the registry,
// the save dialog, the default user interface and WinINet's failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "codepage.h"
#include "registry.h"
#include "scripted_user_interface.h"
#include "update_fixture.h"
#include "user_interface.h"
#include "wininet.h"

// Under a UTF-8 locale (Linux's usual one) the ANSI code page is UTF-8, so a folder
// named in Cyrillic or Chinese converts both ways without loss.
TEST(CodePage, AnsiFollowsAUtf8Locale) {
    LocaleEnvironment locale("en_US.UTF-8");
    const std::wstring names =
        L"\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b \u6587\u6863";
    char bytes[64];
    BOOL lossy = TRUE;
    int made = WideCharToMultiByte(CP_ACP, 0, names.c_str(), -1, bytes, 64, nullptr, &lossy);
    ASSERT_GT(made, 0);
    EXPECT_FALSE(lossy);
    EXPECT_STREQ(bytes,
                 "\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B "
                 "\xE6\x96\x87\xE6\xA1\xA3");
    WCHAR wide[32];
    ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, bytes, -1, wide, 32), 0);
    EXPECT_EQ(std::wstring(wide), names);
}

TEST(CodePage, AnsiIsLatin1UnderALatin1Locale) {
    LocaleEnvironment locale("de_DE.ISO-8859-1");
    const char text[] = "caf\xE9 \xFF";
    WCHAR wide[16];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 7);  // with the zero
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 16), 7);
    EXPECT_EQ(std::wstring(wide), L"caf\u00E9 \u00FF");
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));

    char back[16];
    BOOL lossy = TRUE;
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"caf\u00E9", -1, back, 16, nullptr, &lossy), 5);
    EXPECT_STREQ(back, "caf\xE9");
    EXPECT_FALSE(lossy);
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"a\u0444b", 3, back, 16, nullptr, &lossy), 3);
    EXPECT_EQ(std::string(back, 3), "a?b");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u0444", -1, back, 16, nullptr, nullptr), 3);
    EXPECT_STREQ(back, "\xD1\x84");
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u0444", -1, back, 16, nullptr, &lossy), 0);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, text, -1, wide, 16), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 0, wide, 16), 0);
}

TEST_F(UpdateTest, RegistryKeysAndValuesIgnoreCase) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyW(HKEY_CURRENT_USER, L"Software\\Test", &key), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Test\\Sub", &key), ERROR_SUCCESS);
    const WCHAR text[] = L"value";
    ASSERT_EQ(
        RegSetValueExW(key, L"Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
        ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, L"Name", 0, 4, reinterpret_cast<const BYTE*>(text), 4),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(key);

    HKEY parent = nullptr;
    ASSERT_EQ(RegOpenKeyW(HKEY_CURRENT_USER, L"SOFTWARE\\\\test\\", &parent), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyW(parent, L"sUb", &key), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegQueryValueExW(key, L"NAME", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(size, sizeof text);
    WCHAR small[3];
    size = sizeof small;
    EXPECT_EQ(
        RegQueryValueExW(key, L"name", nullptr, nullptr, reinterpret_cast<LPBYTE>(small), &size),
        ERROR_MORE_DATA);
    EXPECT_EQ(size, sizeof text);
    WCHAR read[8];
    size = sizeof read;
    ASSERT_EQ(
        RegQueryValueExW(key, L"name", nullptr, nullptr, reinterpret_cast<LPBYTE>(read), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(read), L"value");
    EXPECT_EQ(RegQueryValueExW(key, L"other", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    RegCloseKey(parent);
    EXPECT_EQ(RegOpenKeyW(nullptr, L"Software", &key), ERROR_INVALID_HANDLE);

    // The file lies in the folder the test chose.
    EXPECT_TRUE(std::filesystem::exists(work + "/settings/slitform-host/registry.ini"));
    HostSetRegistryFolder("/proc/slitform-not-writable");
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Test", &key), ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExW(key, L"Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
        ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST(UserInterface, DefaultBackEndAnswersAsDismissed) {
    ASSERT_EQ(HostSetUserInterface(nullptr), nullptr);
    EXPECT_EQ(MessageBoxW(nullptr, L"text", L"title", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"text", L"title", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, L"text", L"title", MB_YESNOCANCEL), IDCANCEL);
    WCHAR file[MAX_PATH] = L"proposed";
    OPENFILENAMEW ofn;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
    WCHAR folder[MAX_PATH];
    setenv("XDG_DOCUMENTS_DIR", "/home/someone/Docs", 1);
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE));
    EXPECT_EQ(std::wstring(folder), L"/home/someone/Docs");
    unsetenv("XDG_DOCUMENTS_DIR");
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PERSONAL, FALSE));
    const char* home = getenv("HOME");
    std::string expected = std::string(home ? home : "") + "/Documents";
    EXPECT_EQ(std::wstring(folder), std::wstring(expected.begin(), expected.end()));
    EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, folder, 0x1A, FALSE));
}

TEST(UserInterface, SaveDialogPathsUseSlashesAndMustFit) {
    ScriptedUserInterface ui;
    HostSetUserInterface(&ui);
    WCHAR file[20] = L"C:\\docs\\name";
    OPENFILENAMEW ofn;
    ofn.lpstrFile = file;
    ofn.nMaxFile = 20;
    ofn.lpstrDefExt = L"zip";
    ui.saveAnswers = {L"/tmp/a.b/name", L"/tmp/x.zip", L"/tmp/a-very-long-name.zip"};
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(ui.saveRequests[0].proposed, L"C:/docs/name");
    EXPECT_EQ(std::wstring(file), L"/tmp/a.b/name.zip");
    EXPECT_EQ(ofn.nFileOffset, 9);
    EXPECT_EQ(ofn.nFileExtension, 14);
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(std::wstring(file), L"/tmp/x.zip");
    EXPECT_FALSE(GetSaveFileNameW(&ofn));  // does not fit 20 characters
    HostSetUserInterface(nullptr);
}

TEST(WinINet, FailuresReturnNoHandle) {
    HINTERNET internet = InternetOpenW(L"test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    ASSERT_NE(internet, nullptr);
    EXPECT_EQ(InternetOpenUrlA(internet, "https://updates.example.invalid/x", nullptr, 0, 0, 0),
              nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INTERNET_NAME_NOT_RESOLVED));
    EXPECT_EQ(InternetOpenUrlA(internet, "https://127.0.0.1:1/x", nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INTERNET_CANNOT_CONNECT));
    EXPECT_EQ(InternetOpenUrlA(internet, "ftp://127.0.0.1/x", nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(
        InternetConnectW(nullptr, L"host", 443, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0),
        nullptr);
    HINTERNET connection =
        InternetConnectW(internet, L"127.0.0.1", 1, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(HttpOpenRequestW(internet, L"GET", L"/", nullptr, nullptr, nullptr, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INTERNET_INCORRECT_HANDLE_TYPE));
    HINTERNET request = HttpOpenRequestW(connection, L"GET", L"/", nullptr, nullptr, nullptr, 0, 0);
    ASSERT_NE(request, nullptr);
    DWORD number = 0, size = sizeof number, read = 0;
    char buffer[8];
    EXPECT_FALSE(HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                                &number, &size, nullptr));
    EXPECT_FALSE(InternetReadFile(request, buffer, sizeof buffer, &read));
    EXPECT_FALSE(HttpSendRequestW(request, nullptr, 0, nullptr, 0));
    EXPECT_TRUE(InternetCloseHandle(request));
    EXPECT_TRUE(InternetCloseHandle(connection));
    EXPECT_TRUE(InternetCloseHandle(internet));
    EXPECT_EQ(InternetAttemptConnect(0), DWORD(ERROR_SUCCESS));
}
