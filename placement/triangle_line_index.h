// A bounding-volume hierarchy over a mesh's triangles as seen along one direction,
// to find the triangles that a line along that direction may hit.
#pragma once

#include <atomic>
#include <cmath>
#include <vector>

#include "mesh.h"
#include "point3.h"

class TriangleLineIndex {
public:
    // Takes the mesh (read now and by later queries; it must not change) and the
    // direction of every line that will be cast. Given origins, lines are cast through
    // those points only, and faces no such line can be given for are left out (the
    // answers stay the same; a small shape over a large mesh indexes little). Once
    // *stop turns true the building ends early and the index is left unusable. Builds
    // on up to `threads` threads; the index is the same for any count.
    TriangleLineIndex(const Mesh& mesh, const Point3& direction,
                      const std::atomic<bool>* stop = nullptr, int threads = 1,
                      const std::vector<Point3>* origins = nullptr);

    // Takes a line origin. Gives in faces, ascending, every face that
    // IntersectRayTriangle may report as hit for the line through origin along the
    // direction (and possibly some that it will not). Gives false, faces emptied,
    // when the line cannot be placed in the index and every face must be tested.
    bool Candidates(const Point3& origin, std::vector<int>& faces) const;

private:
    struct Box {
        float minX;
        float minY;
        float maxX;
        float maxY;
    };
    struct Item {
        Box box;
        int face;
    };
    // A query's square, in double as the projection gives it.
    struct Square {
        double minX;
        double minY;
        double maxX;
        double maxY;
    };
    static bool Meets(const Box& box, const Square& square) {
        return !(box.maxX < square.minX || box.minX > square.maxX || box.maxY < square.minY ||
                 box.minY > square.maxY);
    }
    static constexpr int kLeafSize = 4;

    // Coordinates of p across the direction; false when they are not finite.
    bool Project(const Point3& p, double& x, double& y) const {
        x = p.x * axisU[0] + p.y * axisU[1] + p.z * axisU[2];
        y = p.x * axisW[0] + p.y * axisW[1] + p.z * axisW[2];
        return std::isfinite(x) && std::isfinite(y);
    }
    enum class Placement { kNeverHit, kBoxed, kAlwaysTested };
    // Where the face goes: nowhere, since no line can hit it; into the boxes, with its
    // box; or among the faces tested for every line.
    Placement PlaceFace(const Mesh& mesh, int face, const Point3& direction, Box& box) const;
    // The square around origin that Candidates tests boxes against; false when the
    // origin cannot be placed.
    bool QuerySquare(const Point3& origin, Square& square) const;
    // Adds every face, or those whose boxes meet region; false when stopped.
    bool AddFaces(const Mesh& mesh, const Point3& direction, const std::atomic<bool>* stop,
                  int threads, const Square* region);
    bool SortAlongCurve(const std::atomic<bool>* stop, int threads);
    void BuildLevels();

    bool usable = false;
    double axisU[3] = {0.0, 0.0, 0.0};
    double axisW[3] = {0.0, 0.0, 0.0};
    // Items in the order of a space-filling curve through their box centres, so
    // that runs of them are close together.
    std::vector<Item> items;
    // levels[0][i] bounds items [kLeafSize * i, kLeafSize * (i + 1)); levels[k][i]
    // bounds levels[k - 1][2 * i] and [2 * i + 1]. The last level has one box.
    std::vector<std::vector<Box>> levels;
    // Faces that the boxes cannot bound safely; tested for every line.
    std::vector<int> alwaysTested;
};
