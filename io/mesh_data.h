// A polygon mesh as a file holds it, checked but not yet built into an MNMesh.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "maxtypes.h"
#include "point3.h"

struct MeshEdgeRecord {
    int v1 = 0;
    int v2 = 0;
    DWORD flags = 0;
};

struct MeshData {
    std::vector<Point3> positions;   // finite coordinates only
    std::vector<DWORD> vertexFlags;  // one per position
    std::vector<int> corners;        // every face's vertex indices, face after face, all in range
    std::vector<std::size_t>
        faceStart;                      // where face i starts in corners; one entry more than faces
    std::vector<DWORD> faceFlags;       // one per face
    std::vector<MtlID> faceMaterial;    // one per face
    std::vector<DWORD> faceSmGroup;     // one per face
    std::vector<MeshEdgeRecord> edges;  // flags for the edges joining v1 and v2
    // Optional, empty when the file has none: one per corner, or one per position.
    std::vector<Point3> cornerUV;
    std::vector<Point3> cornerNormal;
    std::vector<Point3> vertexColor;
    std::vector<std::string> materialNames;  // by material ID
    std::vector<std::string> groupNames;
    std::vector<int> faceGroup;  // one per face when groupNames is not empty
    std::string objectName;
    std::string materialLibrary;

    MeshData() : faceStart(1, 0) {}
    int FaceCount() const { return static_cast<int>(faceStart.size()) - 1; }
    // Appends a face with the given corners and zero flags, material and groups.
    void AddFace(const int* vv, int degree) {
        corners.insert(corners.end(), vv, vv + degree);
        faceStart.push_back(corners.size());
        faceFlags.push_back(0);
        faceMaterial.push_back(0);
        faceSmGroup.push_back(0);
    }
};
