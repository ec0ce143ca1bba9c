// The dialog procedure of the About rollout: the banner, the installed version,
// the automatic update check on the first opening and the "Check for update"
// button.
#pragma once

#include "iparamb2.h"

class Slitform;

class AboutDlgProc : public ParamMap2UserDlgProc {
public:
    explicit AboutDlgProc(Slitform* mod) : mod(mod) {}
    ~AboutDlgProc() override = default;
    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, WPARAM wParam,
                    LPARAM lParam) override;
    void DeleteThis() override { delete this; }

    Slitform* mod;  // the modifier whose rollout this is; not owned; holds the banner's image list
};
