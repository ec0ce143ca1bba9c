// The host's custom controls behind dialog windows: spinners, image controls,
// image lists and bitmaps.
#pragma once

#include <vector>

#include "dialogs.h"

// Bitmaps loaded from a module's resources: 24-bit pixels, rows top down, BGR.
struct HostBitmap {
    int width = 0, height = 0;
    std::vector<unsigned char> bgr;
};
typedef HostBitmap* HBITMAP;
typedef void* HGDIOBJ;

// Bitmap id of module (an uncompressed 24-bit BMP), or nullptr.
HBITMAP LoadBitmapW(HINSTANCE module, int id);
BOOL DeleteObject(HGDIOBJ object);

#define ILC_COLORDDB 0x00FE
struct HostImageList {
    int cx = 0, cy = 0;
    UINT flags = 0;
    std::vector<HostBitmap> images;
};
typedef HostImageList* HIMAGELIST;
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
// Adds image (cut into cx-wide images); returns the index of the first, or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
BOOL ImageList_Destroy(HIMAGELIST list);

// Edit types of a spinner.
#define EDITTYPE_INT 0
#define EDITTYPE_FLOAT 1
#define EDITTYPE_UNIVERSE 2

// A spinner with its edit field: a value within limits, changed in steps.
class ISpinnerControl {
public:
    explicit ISpinnerControl(HWND hWnd) : hWnd(hWnd) {}
    void Enable(BOOL enable = TRUE) { EnableWindow(hWnd, enable); }
    void Disable() { EnableWindow(hWnd, FALSE); }
    BOOL IsEnabled() const { return IsWindowEnabled(hWnd); }
    void SetAutoScale(BOOL on = TRUE);
    BOOL GetAutoScale() const;
    void SetLimits(float low, float high, BOOL limitCurrent = TRUE);
    float GetMin() const;
    float GetMax() const;
    void SetScale(float step);
    float GetScale() const;
    void SetEditType(int type);
    int GetEditType() const;
    void SetValue(float v, BOOL notify);
    void SetValue(int v, BOOL notify);
    float GetFVal() const;
    int GetIVal() const;
    HWND Window() const { return hWnd; }

private:
    HWND hWnd;
};
// The spinner interface of a spinner window, or nullptr for another window.
ISpinnerControl* GetISpinner(HWND hWnd);
void ReleaseISpinner(ISpinnerControl* spinner);

// An image control showing one image of an image list.
class ICustImage {
public:
    explicit ICustImage(HWND hWnd) : hWnd(hWnd) {}
    void SetImage(HIMAGELIST list, int index, int width, int height);
    HWND Window() const { return hWnd; }

private:
    HWND hWnd;
};
ICustImage* GetICustImage(HWND hWnd);
void ReleaseICustImage(ICustImage* image);

// What a spinner window holds.
struct SpinnerState {
    float value = 0.0f, low = 0.0f, high = 0.0f, step = 0.1f;
    bool autoScale = false;
    int editType = EDITTYPE_FLOAT;
};
// What an image control holds: a copy of the image it shows.
struct ImageState {
    HostBitmap image;
    bool set = false;
};
SpinnerState* SpinnerOf(HWND hWnd);
ImageState* ImageOf(HWND hWnd);
