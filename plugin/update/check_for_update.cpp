#include "plugin/update/check_for_update.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNodeList>
#include <algorithm>
#include <vector>

#include "plugin/update/ansi_text.h"
#include "plugin/update/auto_check_setting.h"
#include "plugin/update/download_release.h"
#include "plugin/update/https_post.h"
#include "plugin/update/is_newer_version.h"
#include "plugin/update/plugin_info.h"
#include "plugin/update/update_server.h"
#include "user_interface.h"

namespace {

const size_t kResponseSize = 32767;
const size_t kTextChars = 260;  // message text and title, with the zero
const size_t kFileChars = 520;
const size_t kPathBytes = 260;

std::string Latin1(const QString& s) {
    return s.toLatin1().toStdString();
}

// The offer of version newer; info is shortened so that the question at the
// end always fits the message box's text.
std::string OfferText(const std::string& newer, std::string info) {
    std::string text = "Current version is: " + pluginInfo.version + "\nNew version " + newer +
                       " is available for download.\n\n";
    const std::string question = "Do you want to download new version?";
    if (!info.empty()) {
        size_t room = kTextChars - 1 - std::min(kTextChars - 1, text.size() + question.size() + 2);
        text += info.substr(0, room) + "\n\n";
    }
    return text + question;
}

// Asks where to save the release archive; false when the dialog is cancelled,
// fails, or gives a path the ANSI code page cannot hold.
bool AskArchivePath(HWND owner, std::string& path) {
    std::vector<WCHAR> file(kFileChars, L'\0');
    std::wstring proposed;
    if (SHGetSpecialFolderPathW(owner, file.data(), CSIDL_PERSONAL, FALSE))
        proposed = file.data();
    proposed += L"\\" + AnsiToWide(pluginInfo.name, kFileChars);
    proposed = proposed.substr(0, kFileChars - 1);
    std::copy(proposed.begin(), proposed.end(), file.begin());
    file[proposed.size()] = L'\0';
    static const WCHAR filter[] = L"Zip archive\0*.zip\0";
    OPENFILENAMEW ofn;
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(kFileChars);
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT | OFN_NOREADONLYRETURN;
    // The proposed name has no extension; one typed without gets ".zip".
    ofn.lpstrDefExt = L"zip";
    if (!GetSaveFileNameW(&ofn))
        return false;
    // A path cut short or with a changed character would name another file.
    return WideToAnsi(file.data(), path) && path.size() < kPathBytes;
}

}  // namespace

bool CheckForUpdate(HWND owner) {
    std::vector<char> response(kResponseSize, 0);
    std::wstring title = AnsiToWide(pluginInfo.name, kTextChars);
    std::wstring server = UpdateServerAddress();
    if (!HttpsPost(server.c_str(), L"/info.xml", L"Content-Type: application/octet-stream",
                   response.data(), kResponseSize))
        return false;

    QDomDocument document;
    document.setContent(QString::fromLatin1(response.data()));
    QDomElement record = document.elementsByTagName(QString::fromLatin1(pluginInfo.name.c_str()))
                             .item(0)
                             .toElement();
    if (record.isNull())
        return false;

    std::string latest = Latin1(record.attribute("Version"));
    bool newer = IsNewerVersion(pluginInfo.version, latest);
    if (newer) {
        std::wstring text =
            AnsiToWide(OfferText(latest, Latin1(record.attribute("Info"))), kTextChars);
        if (MessageBoxW(owner, text.c_str(), title.c_str(), MB_YESNO) == IDYES) {
            std::string path;
            LPCWSTR result = L"Can't save file";
            if (AskArchivePath(owner, path))
                result = DownloadRelease(path.c_str(), owner) ? L"Download complete"
                                                              : L"Can't download file";
            MessageBoxW(owner, result, title.c_str(), MB_OK);
        }
    } else if (!pluginInfo.checkDone) {
        int answer = MessageBoxW(
            owner, L"You use last version.\n\nDo you want to enable auto check version?",
            title.c_str(), MB_YESNO);
        pluginInfo.autoCheck = answer == IDYES;
        WriteAutoCheckSetting();
    }
    pluginInfo.checkDone = true;
    return newer;
}
