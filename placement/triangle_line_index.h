// A bounding-volume hierarchy over a mesh's triangles as seen along one direction,
// to find the triangles that a line along that direction may hit.
#pragma once

#include <vector>

#include "mesh.h"
#include "point3.h"

class TriangleLineIndex {
public:
    // Takes the mesh (read now and by later queries; it must not change) and the
    // direction of every line that will be cast.
    TriangleLineIndex(const Mesh& mesh, const Point3& direction);

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
        float centerX;
        float centerY;
        int face;
    };
    // Leaves hold items[first, first + count); inner nodes have count 0, their left
    // child right after them and their right child at right.
    struct Node {
        Box box;
        int first;
        int count;
        int right;
    };

    bool Project(const Point3& p, double& x, double& y) const;
    void AddFace(const Mesh& mesh, int face, const Point3& direction);
    int BuildNode(int first, int count);

    bool usable = false;
    double axisU[3] = {0.0, 0.0, 0.0};
    double axisW[3] = {0.0, 0.0, 0.0};
    std::vector<Item> items;
    std::vector<Node> nodes;
    // Faces that the boxes cannot bound safely; tested for every line.
    std::vector<int> alwaysTested;
};
