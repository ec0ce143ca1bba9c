#include "user_interface.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <iostream>

#include "resources.h"

namespace {

class DefaultUserInterface : public HostUserInterface {
public:
    int ShowMessageBox(HWND, const std::wstring& text, const std::wstring& title,
                       UINT type) override {
        std::cerr << Utf8FromWide(title) << ": " << Utf8FromWide(text) << std::endl;
        return HostDismissedAnswer(type);
    }
    bool AskSaveFile(const HostSaveFileRequest&, std::wstring&) override { return false; }
    std::wstring DocumentsFolder() override {
        if (const char* documents = std::getenv("XDG_DOCUMENTS_DIR"); documents && *documents)
            return WideFromUtf8(documents);
        const char* home = std::getenv("HOME");
        return WideFromUtf8(std::string(home ? home : "") + "/Documents");
    }
    bool IsKeyDown(int) override { return false; }
    void DisableGhosting() override {}
};

DefaultUserInterface defaultInterface;
HostUserInterface* installed = nullptr;

HostUserInterface& Current() {
    return installed ? *installed : defaultInterface;
}

std::wstring Slashes(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
}

std::vector<std::pair<std::wstring, std::wstring>> FilterPairs(LPCWSTR filter) {
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    while (filter && *filter) {
        std::wstring description = filter;
        filter += description.size() + 1;
        std::wstring pattern = filter;
        filter += pattern.size() + 1;
        pairs.emplace_back(description, pattern);
        if (pattern.empty())
            break;
    }
    return pairs;
}

bool HasExtension(const std::wstring& path) {
    size_t slash = path.find_last_of(L'/');
    size_t dot = path.find_last_of(L'.');
    return dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash + 1);
}

}  // namespace

int HostDismissedAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OK:
            return IDOK;
        case MB_YESNO:
            return IDNO;
        default:
            return IDCANCEL;
    }
}

HostUserInterface* HostSetUserInterface(HostUserInterface* ui) {
    HostUserInterface* previous = installed;
    installed = ui;
    return previous;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return Current().ShowMessageBox(owner, text ? text : L"", caption ? caption : L"Error", type);
}

BOOL GetSaveFileNameW(OPENFILENAMEW* ofn) {
    if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0)
        return FALSE;
    HostSaveFileRequest request;
    request.owner = ofn->hwndOwner;
    request.proposed =
        Slashes(std::wstring(ofn->lpstrFile, wcsnlen(ofn->lpstrFile, ofn->nMaxFile)));
    request.filters = FilterPairs(ofn->lpstrFilter);
    request.filterIndex = static_cast<int>(ofn->nFilterIndex);
    request.initialDir = ofn->lpstrInitialDir ? Slashes(ofn->lpstrInitialDir) : std::wstring();
    request.title = ofn->lpstrTitle ? ofn->lpstrTitle : L"";
    request.flags = ofn->Flags;
    std::wstring path;
    if (!Current().AskSaveFile(request, path) || path.empty())
        return FALSE;
    if (ofn->lpstrDefExt && *ofn->lpstrDefExt && !HasExtension(path))
        path += L"." + std::wstring(ofn->lpstrDefExt);
    if (path.size() >= ofn->nMaxFile)
        return FALSE;
    path.copy(ofn->lpstrFile, path.size());
    ofn->lpstrFile[path.size()] = L'\0';
    size_t slash = path.find_last_of(L'/');
    ofn->nFileOffset = static_cast<WORD>(slash == std::wstring::npos ? 0 : slash + 1);
    size_t dot = path.find_last_of(L'.');
    ofn->nFileExtension = static_cast<WORD>(HasExtension(path) ? dot + 1 : path.size());
    return TRUE;
}

BOOL SHGetSpecialFolderPathW(HWND, LPWSTR path, int csidl, BOOL) {
    if (!path || csidl != CSIDL_PERSONAL)
        return FALSE;
    std::wstring folder = Current().DocumentsFolder();
    if (folder.empty() || folder.size() >= MAX_PATH)
        return FALSE;
    folder.copy(path, folder.size());
    path[folder.size()] = L'\0';
    return TRUE;
}

short GetAsyncKeyState(int virtualKey) {
    return Current().IsKeyDown(virtualKey) ? static_cast<short>(0x8000) : 0;
}

void DisableProcessWindowsGhosting() {
    Current().DisableGhosting();
}
