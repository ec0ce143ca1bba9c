// The dialog procedure of the Parameters rollout: keeps the weld, collinear and
// material-ID spinners enabled only while their check boxes are checked.
#pragma once

#include "iparamb2.h"

class Slitform;

class GeneralDlgProc : public ParamMap2UserDlgProc {
public:
    explicit GeneralDlgProc(Slitform* mod) : mod(mod) {}
    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, WPARAM wParam,
                    LPARAM lParam) override;
    void DeleteThis() override { delete this; }

    Slitform* mod;  // the modifier whose rollout this is; not owned
};

// Enables the rollout's controls, and each value spinner exactly while its check
// box is checked. The modifier is not used.
void UpdateParamsRollout(Slitform* mod, HWND hWnd);
