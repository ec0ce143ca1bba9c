#include "plugin/ui/general_dlg_proc.h"

#include "plugin/ui/resource.h"

namespace {

void EnableSpinner(HWND hWnd, int id, bool enable) {
    if (ISpinnerControl* spin = GetISpinner(GetDlgItem(hWnd, id))) {
        spin->Enable(enable ? TRUE : FALSE);
        ReleaseISpinner(spin);
    }
}

}  // namespace

void UpdateParamsRollout(Slitform*, HWND hWnd) {
    const int alwaysEnabled[] = {
        IDC_LOCAL,         IDC_THROUGH,   IDC_OPEN,         IDC_SEL_NO_CHANGE, IDC_SEL_OBJECT,
        IDC_SEL_VERTS,     IDC_SEL_EDGES, IDC_SEL_POLYGONS, IDC_MATID_ON,      IDC_PICK_SHAPE,
        IDC_REMOVE_UNUSED, IDC_WELD_ON,   IDC_COLLINEAR_ON};
    for (int id : alwaysEnabled) EnableWindow(GetDlgItem(hWnd, id), TRUE);
    EnableSpinner(hWnd, IDC_WELD_SPIN, IsDlgButtonChecked(hWnd, IDC_WELD_ON) == BST_CHECKED);
    EnableSpinner(hWnd, IDC_COLLINEAR_SPIN,
                  IsDlgButtonChecked(hWnd, IDC_COLLINEAR_ON) == BST_CHECKED);
    EnableSpinner(hWnd, IDC_MATID_SPIN, IsDlgButtonChecked(hWnd, IDC_MATID_ON) == BST_CHECKED);
}

INT_PTR GeneralDlgProc::DlgProc(TimeValue, IParamMap2*, HWND hWnd, UINT msg, WPARAM wParam,
                                LPARAM) {
    switch (msg) {
        case WM_INITDIALOG:
            if (ISpinnerControl* spin = GetISpinner(GetDlgItem(hWnd, IDC_WELD_SPIN))) {
                spin->SetAutoScale(TRUE);
                ReleaseISpinner(spin);
            }
            UpdateParamsRollout(mod, hWnd);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_PICK_SHAPE:
                case IDC_WELD_ON:
                case IDC_COLLINEAR_ON:
                case IDC_MATID_ON:
                    UpdateParamsRollout(mod, hWnd);
                    break;
                default:
                    break;
            }
            return FALSE;
        default:
            return FALSE;
    }
}
