#include "plugin/update/download_release.h"

#include <QSaveFile>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "dialogs.h"
#include "plugin/module/module_handle.h"
#include "plugin/update/ansi_text.h"
#include "plugin/update/plugin_info.h"
#include "plugin/update/update_server.h"
#include "user_interface.h"
#include "wininet.h"

namespace {

const DWORD kPiece = 512;
const DWORD kProgressStyle = 0x50000000;  // visible child

bool QueryNumber(HINTERNET request, DWORD query, DWORD& number) {
    DWORD size = sizeof number;
    return HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr) !=
           FALSE;
}

// Whether a partial answer of length bytes holds the whole file: its range
// is "bytes 0-<length - 1>/<length>".
bool RangeIsWholeFile(HINTERNET request, DWORD length) {
    wchar_t text[128] = {};
    DWORD size = sizeof text - sizeof text[0];
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_RANGE, text, &size, nullptr))
        return false;
    unsigned long long first = 0, last = 0, total = 0;
    wchar_t end = 0;
    return std::swscanf(text, L"bytes %llu-%llu/%llu%lc", &first, &last, &total, &end) == 3 &&
           first == 0 && last + 1 == total && total == length;
}

// Reads the body into file under a progress bar on owner; true when exactly the
// announced, non-zero number of bytes arrived.
bool Transfer(HINTERNET request, QSaveFile& file, HWND owner) {
    DWORD status = 0;
    // An error page is no archive.
    if (!QueryNumber(request, HTTP_QUERY_STATUS_CODE, status) || (status != 200 && status != 206))
        return false;
    DWORD length = 0;
    if (!QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH, length) || length == 0)
        return false;
    // The file is written from its start: a part from elsewhere would be saved
    // as if it were all of it.
    if (status == 206 && !RangeIsWholeFile(request, length))
        return false;

    // The loop blocks the user-interface thread; keep the window from being
    // replaced by a ghost meanwhile.
    DisableProcessWindowsGhosting();
    RECT r;
    GetClientRect(owner, &r);
    HWND bar =
        CreateWindowExW(0, L"msctls_progress32", nullptr, kProgressStyle, r.left + 3, r.top + 5,
                        r.right - r.left - 3, 16, owner, nullptr, hInstance, nullptr);
    SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    char piece[kPiece];
    unsigned long long total = 0;
    bool ok = true;
    for (;;) {
        bool escape = GetAsyncKeyState(VK_ESCAPE) != 0;
        DWORD read = 0;
        if (!InternetReadFile(request, piece, kPiece, &read) || escape) {
            ok = false;
            break;
        }
        if (read == 0)
            break;
        if (file.write(piece, read) != static_cast<qint64>(read)) {
            ok = false;
            break;
        }
        total += read;
        double percent = static_cast<double>(total) / static_cast<double>(length) * 100.0;
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(static_cast<int>(percent)), 0);
    }
    DestroyWindow(bar);
    // A connection that closed early ends the body like a complete one.
    return ok && total == length;
}

}  // namespace

bool DownloadRelease(const char* path, HWND owner) {
    if (!path || !*path)
        return false;
    std::string ansiPath = path;
    QSaveFile file(QString::fromStdWString(AnsiToWide(ansiPath, ansiPath.size() + 1)));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    std::string server;
    if (!WideToAnsi(UpdateServerAddress(), server))
        return false;
    if (InternetAttemptConnect(0) != ERROR_SUCCESS)
        return false;
    HINTERNET internet =
        InternetOpenW(L"downloader", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!internet)
        return false;
    // The file is new, so the range starts at 0.
    char range[64];
    std::snprintf(range, sizeof range, "Range:bytes=%d-", static_cast<int>(file.pos()));
    std::string url = "https://" + server + "/release/" + pluginInfo.name + ".zip";
    HINTERNET request =
        InternetOpenUrlA(internet, url.c_str(), range, static_cast<DWORD>(std::strlen(range)),
                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    bool complete = request && Transfer(request, file, owner);
    if (request)
        InternetCloseHandle(request);
    InternetCloseHandle(internet);
    // Without commit the temporary file is removed and path left alone.
    return complete && file.commit();
}
