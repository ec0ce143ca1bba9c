#include "dialogs.h"

#include <algorithm>

namespace {

void Changed(HWND hWnd) {
    if (hWnd && hWnd->changed)
        hWnd->changed(hWnd);
}

bool IsButtonKind(HWND hWnd, DWORD kind) {
    return hWnd && hWnd->className == "Button" && (hWnd->style & 0xF) == kind;
}

}  // namespace

HWND CreateDialogFromTemplate(HINSTANCE module, int templateId, HWND parent) {
    const ModuleResources* res = GetModuleResources(module);
    if (!res)
        return nullptr;
    auto found = res->dialogs.find(templateId);
    if (found == res->dialogs.end())
        return nullptr;
    const DialogTemplate& dlg = found->second;
    HWND dialog = new HostWindow();
    dialog->id = dlg.id;
    dialog->className = "#32770";
    dialog->x = dlg.x;
    dialog->y = dlg.y;
    dialog->width = dlg.width;
    dialog->height = dlg.height;
    dialog->style = dlg.style;
    dialog->parent = parent;
    if (parent)
        parent->children.push_back(dialog);
    for (const DialogControl& c : dlg.controls) {
        HWND control = new HostWindow();
        control->id = c.id;
        control->className = c.className;
        control->text = c.text;
        control->x = c.x;
        control->y = c.y;
        control->width = c.width;
        control->height = c.height;
        control->style = c.style;
        control->parent = dialog;
        dialog->children.push_back(control);
    }
    return dialog;
}

HWND CreateWindowExW(DWORD, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, void*, HINSTANCE, LPVOID) {
    HWND w = new HostWindow();
    w->className = className ? Utf8FromWide(className) : std::string();
    w->text = windowName ? windowName : L"";
    w->style = style;
    w->x = x;
    w->y = y;
    w->width = width;
    w->height = height;
    w->parent = parent;
    if (parent) {
        parent->children.push_back(w);
        Changed(parent);
    }
    return w;
}

BOOL DestroyWindow(HWND hWnd) {
    if (!hWnd)
        return FALSE;
    while (!hWnd->children.empty()) DestroyWindow(hWnd->children.back());
    if (HWND parent = hWnd->parent) {
        auto& list = parent->children;
        list.erase(std::remove(list.begin(), list.end(), hWnd), list.end());
        Changed(parent);
    }
    delete hWnd;
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
    if (!dialog)
        return nullptr;
    for (HWND child : dialog->children)
        if (child->id == id)
            return child;
    return nullptr;
}

int GetDlgCtrlID(HWND control) {
    return control ? control->id : 0;
}

BOOL EnableWindow(HWND hWnd, BOOL enable) {
    if (!hWnd)
        return FALSE;
    bool wasDisabled = !hWnd->enabled;
    hWnd->enabled = enable != FALSE;
    Changed(hWnd);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd) {
    return hWnd && hWnd->enabled ? TRUE : FALSE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button ? button->checked : BST_UNCHECKED;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND button = GetDlgItem(dialog, id);
    if (!button)
        return FALSE;
    button->checked = check;
    Changed(button);
    return TRUE;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return FALSE;
    control->text = text ? text : L"";
    Changed(control);
    return TRUE;
}

std::wstring GetWindowTextString(HWND hWnd) {
    return hWnd ? hWnd->text : std::wstring();
}

BOOL GetClientRect(HWND hWnd, RECT* rect) {
    if (!hWnd || !rect)
        return FALSE;
    rect->left = 0;
    rect->top = 0;
    rect->right = hWnd->width;
    rect->bottom = hWnd->height;
    return TRUE;
}

LRESULT SendMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!hWnd)
        return 0;
    if (hWnd->dialogProc)
        return hWnd->dialogProc(msg, wParam, lParam);
    if (msg == PBM_SETRANGE) {
        hWnd->rangeLow = LOWORD(lParam);
        hWnd->rangeHigh = HIWORD(lParam);
        Changed(hWnd);
    } else if (msg == PBM_SETPOS) {
        LRESULT previous = hWnd->position;
        hWnd->position = static_cast<int>(wParam);
        Changed(hWnd);
        return previous;
    }
    return 0;
}

void HostClickButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button || !button->enabled)
        return;
    if (IsButtonKind(button, BS_AUTOCHECKBOX)) {
        button->checked = button->checked == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        Changed(button);
    } else if (IsButtonKind(button, BS_AUTORADIOBUTTON)) {
        // The automatic radio buttons of a dialog form one group.
        for (HWND other : dialog->children)
            if (other != button && IsButtonKind(other, BS_AUTORADIOBUTTON) && other->checked) {
                other->checked = BST_UNCHECKED;
                Changed(other);
            }
        button->checked = BST_CHECKED;
        Changed(button);
    }
    if (dialog->dialogProc)
        dialog->dialogProc(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}
