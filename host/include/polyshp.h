// PolyShape, PolyLine, PolyPt: a shape flattened into polylines.
#pragma once

#include <vector>

#include "maxtypes.h"
#include "point3.h"

// Closed-polyline bit of PolyLine::flags.
#define POLYLINE_CLOSED 0x1

// A polyline point: a position and three 32-bit words.
class PolyPt {
public:
    Point3 p;
    DWORD flags = 0;
    DWORD aux1 = 0;
    DWORD aux2 = 0;

    PolyPt() = default;
    explicit PolyPt(const Point3& pos, DWORD f = 0, DWORD a1 = 0, DWORD a2 = 0)
        : p(pos), flags(f), aux1(a1), aux2(a2) {}
};

class PolyLine {
public:
    int numPts = 0;
    PolyPt* pts = nullptr;
    DWORD flags = 0;

    PolyLine() = default;
    PolyLine(const PolyLine& from);
    PolyLine& operator=(const PolyLine& from);
    PolyLine(PolyLine&& from) noexcept;
    PolyLine& operator=(PolyLine&& from) noexcept;
    ~PolyLine() = default;

    // Empties the line and opens it.
    void Init();
    void SetNumPts(int n);
    // Appends a copy of p.
    void Append(const PolyPt& p);
    // Stores a copy of p as point number where and moves the points from there on
    // up by one; where may equal numPts (append). Outside that, nothing happens.
    void Insert(int where, const PolyPt& p);
    // Removes point number where.
    void Delete(int where);
    bool IsClosed() const { return (flags & POLYLINE_CLOSED) != 0; }
    void Close() { flags |= POLYLINE_CLOSED; }
    void Open() { flags &= ~static_cast<DWORD>(POLYLINE_CLOSED); }
    PolyPt& operator[](int i) { return pts[i]; }
    const PolyPt& operator[](int i) const { return pts[i]; }

private:
    void Sync();
    std::vector<PolyPt> storage;
};

class PolyShape {
public:
    int numLines = 0;
    PolyLine* lines = nullptr;

    PolyShape() = default;
    PolyShape(const PolyShape& from);
    PolyShape& operator=(const PolyShape& from);
    PolyShape(PolyShape&& from) noexcept;
    PolyShape& operator=(PolyShape&& from) noexcept;
    ~PolyShape() = default;

    // Empties the shape.
    void Init();
    void SetNumLines(int n);
    // Appends an empty open polyline and returns it.
    PolyLine& NewLine();
    // Appends a copy of l.
    void Append(const PolyLine& l);
    PolyLine& operator[](int i) { return lines[i]; }
    const PolyLine& operator[](int i) const { return lines[i]; }

private:
    void Sync();
    std::vector<PolyLine> storage;
};
