// The report of one evaluation: what went in, what came out, what the cut did.
#pragma once

#include <string>
#include <vector>

#include "inode.h"
#include "mnmesh.h"

struct CutReport {
    int facesIn = 0, edgesIn = 0, verticesIn = 0;
    int facesOut = 0, edgesOut = 0, verticesOut = 0;
    int facesCut = 0;
    int selectedVertices = 0, selectedEdges = 0, selectedFaces = 0;
    Point3 direction;
    double seconds = 0.0;
};

// What the report needs of the mesh going in: far less than a copy of it.
struct MeshCounts {
    int faces = 0, edges = 0, vertices = 0;
    std::vector<bool> liveFaces;  // one per face slot
};

MeshCounts CountMesh(const MNMesh& mesh);

// Counts live components of the mesh going out. A face counts as cut when it was
// live going in and was replaced by the cut: dead coming out without the mark of
// a face the shape did not reach (one that only the open step removed carries it).
CutReport MakeCutReport(const MeshCounts& in, const MNMesh& out, const Point3& direction,
                        double seconds);

// The projection direction the modifier derives for this object and shape at t:
// the minor principal axis of the shape's points in the object's space, pointing
// from the shape's node towards the object's. The zero vector for a shape without
// points.
Point3 ProjectionDirectionOf(INode* object, INode* shape, TimeValue t);

// The report as a JSON document (indented, UTF-8).
std::string CutReportJson(const CutReport& report);
