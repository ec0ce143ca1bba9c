// Dialog windows built from a module's dialog templates, and the Win32 calls a
// plug-in makes on them. Each control is a record of its state (the headless back
// end); a user-interface back end watches the records and mirrors them in real
// widgets, and reports the user's actions back through HostUserAction.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "resources.h"
#include "windefs.h"

#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define BN_CLICKED 0
#define PBM_SETRANGE 0x0401
#define PBM_SETPOS 0x0402
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#define MAKEWPARAM(lo, hi) \
    (static_cast<WPARAM>((static_cast<DWORD>(hi) << 16) | (static_cast<DWORD>(lo) & 0xffff)))
#define MAKELPARAM(lo, hi) \
    (static_cast<LPARAM>((static_cast<DWORD>(hi) << 16) | (static_cast<DWORD>(lo) & 0xffff)))

// Button styles (low four bits of a "Button" control's style).
#define BS_PUSHBUTTON 0x0
#define BS_AUTOCHECKBOX 0x3
#define BS_GROUPBOX 0x7
#define BS_AUTORADIOBUTTON 0x9
#define WS_GROUP 0x00020000

// A window: a dialog, or a control of one.
struct HostWindow {
    int id = -1;
    std::string className;
    std::wstring text;
    int x = 0, y = 0, width = 0, height = 0;  // dialog units for template controls
    DWORD style = 0;
    bool enabled = true;
    bool visible = true;
    UINT checked = BST_UNCHECKED;
    int rangeLow = 0, rangeHigh = 100, position = 0;  // progress bars
    HWND parent = nullptr;
    std::vector<HWND> children;
    // What a dialog tells its procedure; empty for a control.
    std::function<INT_PTR(UINT, WPARAM, LPARAM)> dialogProc;
    // Called after any change of the state, for a back end to follow.
    std::function<void(HWND)> changed;
    // Kind-specific state of custom controls (spinner, image), owned by the window.
    std::shared_ptr<void> custom;
};

// A dialog made from template templateId of module, with a control window for
// every control; nullptr when the module has no such template.
HWND CreateDialogFromTemplate(HINSTANCE module, int templateId, HWND parent);
// A window not made from a template (a progress bar, say).
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, void* menu, HINSTANCE instance,
                     LPVOID param);
BOOL DestroyWindow(HWND hWnd);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
BOOL EnableWindow(HWND hWnd, BOOL enable);
BOOL IsWindowEnabled(HWND hWnd);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
BOOL GetClientRect(HWND hWnd, RECT* rect);
// A dialog's procedure hears the message; a progress bar takes its range (0x401,
// high word of lParam the maximum) and position (0x402).
LRESULT SendMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
std::wstring GetWindowTextString(HWND hWnd);

// The user clicks control id of dialog: a check box toggles, a radio button is
// checked and its group cleared, then the dialog's procedure hears the command.
void HostClickButton(HWND dialog, int id);
