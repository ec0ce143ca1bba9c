#include "plugin/ui/about_dlg_proc.h"

#include "plugin/module/module_handle.h"
#include "plugin/ui/resource.h"
#include "plugin/update/ansi_text.h"
#include "plugin/update/check_for_update.h"
#include "plugin/update/plugin_info.h"

namespace {

const int kBannerWidth = 160;
const int kBannerHeight = 56;
const size_t kLabelChars = 256;

void ShowBanner(HIMAGELIST& images, HWND hWnd) {
    ICustImage* image = GetICustImage(GetDlgItem(hWnd, IDC_BANNER));
    if (!image)
        return;
    // A rollout opened again replaces the list of the previous opening.
    if (images)
        ImageList_Destroy(images);
    images = ImageList_Create(kBannerWidth, kBannerHeight, ILC_COLORDDB, 1, 0);
    HBITMAP banner = LoadBitmapW(hInstance, IDB_BANNER);
    ImageList_Add(images, banner, nullptr);
    DeleteObject(banner);
    image->SetImage(images, 0, kBannerWidth, kBannerHeight);
    ReleaseICustImage(image);
}

}  // namespace

INT_PTR AboutDlgProc::DlgProc(TimeValue, IParamMap2*, HWND hWnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: {
            ShowBanner(*images, hWnd);
            std::wstring label = AnsiToWide("Version: " + pluginInfo.version, kLabelChars);
            SetDlgItemTextW(hWnd, IDC_VERSION, label.c_str());
            if (pluginInfo.autoCheck && !pluginInfo.checkDone) {
                // Set first, so that this check stays silent when nothing is newer.
                pluginInfo.checkDone = true;
                CheckForUpdate(hWnd);
            }
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_CHECK_UPDATE) {
                pluginInfo.checkDone = false;
                CheckForUpdate(hWnd);
            }
            return FALSE;
        default:
            return FALSE;
    }
}
