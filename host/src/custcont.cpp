#include "custcont.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

std::uint32_t Read32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

template <class State>
State* StateOf(HWND hWnd, const char* className) {
    if (!hWnd || hWnd->className != className)
        return nullptr;
    if (!hWnd->custom)
        hWnd->custom = std::make_shared<State>();
    return static_cast<State*>(hWnd->custom.get());
}

void Changed(HWND hWnd) {
    if (hWnd->changed)
        hWnd->changed(hWnd);
}

}  // namespace

HBITMAP LoadBitmapW(HINSTANCE module, int id) {
    const ModuleResources* res = GetModuleResources(module);
    if (!res)
        return nullptr;
    auto found = res->bitmaps.find(id);
    if (found == res->bitmaps.end())
        return nullptr;
    const std::vector<unsigned char>& b = found->second;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return nullptr;
    std::uint32_t offset = Read32(b, 10);
    std::int32_t width = static_cast<std::int32_t>(Read32(b, 18));
    std::int32_t height = static_cast<std::int32_t>(Read32(b, 22));
    int bits = b[28] | (b[29] << 8);
    std::uint32_t compression = Read32(b, 30);
    if (bits != 24 || compression != 0 || width <= 0 || height == 0 || width > 16384 ||
        std::abs(height) > 16384)
        return nullptr;
    int rows = std::abs(height);
    size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    if (offset > b.size() || b.size() - offset < stride * rows)
        return nullptr;
    HBITMAP bitmap = new HostBitmap();
    bitmap->width = width;
    bitmap->height = rows;
    bitmap->bgr.resize(static_cast<size_t>(width) * rows * 3);
    for (int r = 0; r < rows; ++r) {
        int source = height > 0 ? rows - 1 - r : r;  // positive height: bottom row first
        std::copy_n(b.begin() + offset + stride * source, static_cast<size_t>(width) * 3,
                    bitmap->bgr.begin() + static_cast<size_t>(r) * width * 3);
    }
    return bitmap;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!object)
        return FALSE;
    delete static_cast<HostBitmap*>(object);
    return TRUE;
}

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
    if (cx <= 0 || cy <= 0)
        return nullptr;
    HIMAGELIST list = new HostImageList();
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    return list;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP) {
    if (!list || !image || image->height < list->cy || image->width < list->cx)
        return -1;
    int first = static_cast<int>(list->images.size());
    for (int x0 = 0; x0 + list->cx <= image->width; x0 += list->cx) {
        HostBitmap piece;
        piece.width = list->cx;
        piece.height = list->cy;
        for (int r = 0; r < list->cy; ++r) {
            auto row = image->bgr.begin() + (static_cast<size_t>(r) * image->width + x0) * 3;
            piece.bgr.insert(piece.bgr.end(), row, row + static_cast<size_t>(list->cx) * 3);
        }
        list->images.push_back(std::move(piece));
    }
    return first;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
    if (!list)
        return FALSE;
    delete list;
    return TRUE;
}

SpinnerState* SpinnerOf(HWND hWnd) {
    return StateOf<SpinnerState>(hWnd, "SpinnerControl");
}
ImageState* ImageOf(HWND hWnd) {
    return StateOf<ImageState>(hWnd, "CustImage");
}

void ISpinnerControl::SetAutoScale(BOOL on) {
    SpinnerOf(hWnd)->autoScale = on != FALSE;
    Changed(hWnd);
}
BOOL ISpinnerControl::GetAutoScale() const {
    return SpinnerOf(hWnd)->autoScale ? TRUE : FALSE;
}

void ISpinnerControl::SetLimits(float low, float high, BOOL limitCurrent) {
    SpinnerState* s = SpinnerOf(hWnd);
    s->low = low;
    s->high = high;
    if (limitCurrent)
        s->value = std::clamp(s->value, low, high);
    Changed(hWnd);
}
float ISpinnerControl::GetMin() const {
    return SpinnerOf(hWnd)->low;
}
float ISpinnerControl::GetMax() const {
    return SpinnerOf(hWnd)->high;
}

void ISpinnerControl::SetScale(float step) {
    SpinnerOf(hWnd)->step = step;
    Changed(hWnd);
}
float ISpinnerControl::GetScale() const {
    return SpinnerOf(hWnd)->step;
}

void ISpinnerControl::SetEditType(int type) {
    SpinnerOf(hWnd)->editType = type;
    Changed(hWnd);
}
int ISpinnerControl::GetEditType() const {
    return SpinnerOf(hWnd)->editType;
}

void ISpinnerControl::SetValue(float v, BOOL) {
    SpinnerState* s = SpinnerOf(hWnd);
    if (!std::isnan(v))
        s->value = std::clamp(v, s->low, s->high);
    Changed(hWnd);
}
void ISpinnerControl::SetValue(int v, BOOL notify) {
    SetValue(static_cast<float>(v), notify);
}
float ISpinnerControl::GetFVal() const {
    return SpinnerOf(hWnd)->value;
}
int ISpinnerControl::GetIVal() const {
    return static_cast<int>(std::lround(SpinnerOf(hWnd)->value));
}

ISpinnerControl* GetISpinner(HWND hWnd) {
    return SpinnerOf(hWnd) ? new ISpinnerControl(hWnd) : nullptr;
}
void ReleaseISpinner(ISpinnerControl* spinner) {
    delete spinner;
}

void ICustImage::SetImage(HIMAGELIST list, int index, int, int) {
    ImageState* s = ImageOf(hWnd);
    if (!list || index < 0 || index >= static_cast<int>(list->images.size()))
        return;
    s->image = list->images[index];
    s->set = true;
    Changed(hWnd);
}

ICustImage* GetICustImage(HWND hWnd) {
    return ImageOf(hWnd) ? new ICustImage(hWnd) : nullptr;
}
void ReleaseICustImage(ICustImage* image) {
    delete image;
}
