#include "app/studio/view_camera.h"

#include <algorithm>
#include <cmath>

namespace {

const float kMaxPitch = 1.55f;
const float kOrbitPerPixel = 0.01f;
const float kMinScale = 1e-6f, kMaxScale = 1e9f;

bool Finite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

Point3 ViewCamera::Towards() const {
    return Point3(std::cos(pitch) * std::cos(yaw), std::cos(pitch) * std::sin(yaw),
                  std::sin(pitch));
}

Point3 ViewCamera::Right() const {
    return Point3(-std::sin(yaw), std::cos(yaw), 0.0f);
}

Point3 ViewCamera::Up() const {
    return Towards() ^ Right();
}

QPointF ViewCamera::Project(const Point3& p, QSizeF screen) const {
    Point3 d = p - target;
    return QPointF(screen.width() * 0.5 + static_cast<double>((d % Right()) * scale),
                   screen.height() * 0.5 - static_cast<double>((d % Up()) * scale));
}

void ViewCamera::Orbit(float dx, float dy) {
    yaw -= dx * kOrbitPerPixel;
    pitch = std::clamp(pitch + dy * kOrbitPerPixel, -kMaxPitch, kMaxPitch);
}

void ViewCamera::Pan(float dx, float dy) {
    target = target - DragInWorld(dx, dy);
}

Point3 ViewCamera::DragInWorld(float dx, float dy) const {
    return Right() * (dx / scale) - Up() * (dy / scale);
}

void ViewCamera::Zoom(float factor) {
    if (!(factor > 0.0f) || !std::isfinite(factor))
        return;
    scale = std::clamp(scale * factor, kMinScale, kMaxScale);
}

void ViewCamera::Frame(const Point3& lo, const Point3& hi, QSizeF screen) {
    if (!Finite(lo) || !Finite(hi) || lo.x > hi.x || lo.y > hi.y || lo.z > hi.z)
        return;
    target = (lo + hi) * 0.5f;
    float size = (hi - lo).Length();
    float room = static_cast<float>(std::min(screen.width(), screen.height()));
    if (size > 0.0f && room > 0.0f)
        scale = std::clamp(0.9f * room / size, kMinScale, kMaxScale);
}
