// The Win32 calls that reach the user: message boxes, the save dialog, the
// documents folder, the key state and window ghosting. Each goes to the
// installed back end: the desktop window installs one on Qt, tests a scripted
// one (scripted_user_interface.h). Without one, the default back end serves a
// program without a window: a message box prints "title: text" to stderr and
// answers as if dismissed (IDOK for MB_OK, IDNO for MB_YESNO, otherwise
// IDCANCEL), since nobody can answer it; the save dialog is cancelled; no key is
// down; the documents folder is $XDG_DOCUMENTS_DIR, else $HOME/Documents.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "winbase.h"

// Message box buttons and answers.
#define MB_OK 0x0u
#define MB_OKCANCEL 0x1u
#define MB_YESNOCANCEL 0x3u
#define MB_YESNO 0x4u
#define MB_TYPEMASK 0xFu
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

#define VK_ESCAPE 0x1B
#define CSIDL_PERSONAL 0x0005

// Save dialog flags.
#define OFN_OVERWRITEPROMPT 0x00000002u
#define OFN_CREATEPROMPT 0x00002000u
#define OFN_NOREADONLYRETURN 0x00008000u

struct OPENFILENAMEW {
    DWORD lStructSize = 0;
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    // Pairs of description and pattern, each zero-terminated, ended by an empty one.
    LPCWSTR lpstrFilter = nullptr;
    LPWSTR lpstrCustomFilter = nullptr;
    DWORD nMaxCustFilter = 0;
    DWORD nFilterIndex = 0;      // 1 for the first pair
    LPWSTR lpstrFile = nullptr;  // proposed name in, chosen path out
    DWORD nMaxFile = 0;          // characters of lpstrFile
    LPWSTR lpstrFileTitle = nullptr;
    DWORD nMaxFileTitle = 0;
    LPCWSTR lpstrInitialDir = nullptr;
    LPCWSTR lpstrTitle = nullptr;
    DWORD Flags = 0;
    WORD nFileOffset = 0;
    WORD nFileExtension = 0;
    LPCWSTR lpstrDefExt = nullptr;  // appended (with a dot) to a chosen name without extension
};

// What the save dialog asks: paths with '/' (a backslash of the caller's
// Windows path is read as '/').
struct HostSaveFileRequest {
    HWND owner = nullptr;
    std::wstring proposed;
    std::vector<std::pair<std::wstring, std::wstring>> filters;  // description, pattern
    int filterIndex = 0;
    std::wstring initialDir, title;
    DWORD flags = 0;
};

class HostUserInterface {
public:
    virtual ~HostUserInterface() = default;
    // Shows text in a box titled title with the buttons of type; the button pressed.
    virtual int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title,
                               UINT type) = 0;
    // Asks for a file to save; true with the chosen path, false when cancelled.
    virtual bool AskSaveFile(const HostSaveFileRequest& request, std::wstring& path) = 0;
    virtual std::wstring DocumentsFolder() = 0;
    // Whether the key (a virtual-key code) is down now.
    virtual bool IsKeyDown(int virtualKey) = 0;
    // The process blocks its user-interface thread: keep its windows as they are.
    virtual void DisableGhosting() = 0;
};

// The answer of a box of type that is closed without a button: IDOK for MB_OK,
// IDNO for MB_YESNO, IDCANCEL otherwise.
int HostDismissedAnswer(UINT type);

// Installs ui (nullptr: the default back end); returns the one it replaces
// (nullptr for the default). The caller keeps ui alive while installed.
HostUserInterface* HostSetUserInterface(HostUserInterface* ui);

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
// TRUE with the chosen path in lpstrFile; FALSE when cancelled, or when the
// path does not fit nMaxFile.
BOOL GetSaveFileNameW(OPENFILENAMEW* ofn);
// The folder csidl (only CSIDL_PERSONAL, the documents folder) into path, of
// MAX_PATH characters; create is not used.
BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int csidl, BOOL create);
// Non-zero (0x8000) while the key is down.
short GetAsyncKeyState(int virtualKey);
void DisableProcessWindowsGhosting();
