// The viewport's camera: an orthographic view that orbits a target point, with the
// world's z axis up.
#pragma once

#include <QPointF>
#include <QSizeF>

#include "point3.h"

struct ViewCamera {
    float yaw = -1.0f;   // about z, radians
    float pitch = 0.6f;  // above the xy plane, radians
    Point3 target;
    float scale = 50.0f;  // pixels per world unit

    // Unit vectors of the view: towards the viewer, and the screen's right and up.
    Point3 Towards() const;
    Point3 Right() const;
    Point3 Up() const;
    // A point's place on a screen of the given size.
    QPointF Project(const Point3& p, QSizeF screen) const;
    // How near a point is to the viewer (larger is nearer).
    float Depth(const Point3& p) const { return (p - target) % Towards(); }

    // Turns the view by a drag of dx, dy pixels; the pitch stops short of the poles.
    void Orbit(float dx, float dy);
    // Moves the target so that the scene follows a drag of dx, dy pixels.
    void Pan(float dx, float dy);
    // The world displacement that a drag of dx, dy pixels stands for.
    Point3 DragInWorld(float dx, float dy) const;
    // Zooms by factor about the screen's centre; factors that are not positive and
    // finite are ignored, and the scale stays within sane limits.
    void Zoom(float factor);
    // Centres the box lo..hi and scales it to fill most of the screen; an empty or
    // non-finite box leaves the camera as it is.
    void Frame(const Point3& lo, const Point3& hi, QSizeF screen);
};
