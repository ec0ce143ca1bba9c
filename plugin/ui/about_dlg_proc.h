// The dialog procedure of the About rollout: the banner, the installed version,
// the automatic update check on the first opening and the "Check for update"
// button.
#pragma once

#include "custcont.h"
#include "iparamb2.h"

class AboutDlgProc : public ParamMap2UserDlgProc {
public:
    explicit AboutDlgProc(HIMAGELIST* images) : images(images) {}
    ~AboutDlgProc() override = default;
    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, WPARAM wParam,
                    LPARAM lParam) override;
    void DeleteThis() override { delete this; }

    // Where the modifier whose rollout this is keeps the banner's image list, which
    // it owns; not owned here.
    HIMAGELIST* images;
};
