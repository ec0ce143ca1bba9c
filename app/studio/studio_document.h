// The scene the window edits: the object under the modifier and the shape, as the
// user opened them, and the modifier whose rollouts the command panel shows.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/plugin_loader.h"
#include "app/scene.h"
#include "app/studio/evaluate_copy.h"
#include "app/studio/viewport.h"

class StudioDocument {
public:
    // Creates the modifier from lib (which must outlive the document) on an object
    // without faces; Mod() is nullptr when the library offers no Slitform modifier.
    explicit StudioDocument(const PluginLibrary& lib);
    ~StudioDocument();
    StudioDocument(const StudioDocument&) = delete;
    StudioDocument& operator=(const StudioDocument&) = delete;

    Modifier* Mod() const { return mod; }
    IParamBlock2* Block() const;
    // The node the modifier's pick button holds, or nullptr.
    INode* PickedNode() const;
    INode* ObjectNode() const { return objectNode; }
    // The shape's node, or nullptr before a shape is opened.
    INode* ShapeNode() const { return shapeNode; }
    const MNMesh& Mesh() const;
    const Matrix3& ObjectTM() const { return objectTM; }

    // Opens the mesh (PLY, OBJ) or the shape (SVG, JSON) at path in place of the
    // current one; false with a one-line error, and nothing changed, for a file
    // that cannot be read or holds no faces or points. The shape is placed over the
    // object as the command line places it.
    bool OpenMesh(const std::string& path, std::string& error);
    bool OpenShape(const std::string& path, std::string& error);
    // The demo of the command line: a rounded box and a star picked to cut a hole.
    void OpenDemo();
    // Moves the shape's node by a world displacement.
    void MoveShape(const Point3& delta);

    // Copies of everything an evaluation reads.
    EvaluationInput Snapshot() const;
    // The shape's polylines in world space, as evaluations flatten it.
    std::vector<ViewLine> ShapeLines() const;

    // Hears every change an evaluation depends on: parameters, the pick, the
    // shape's transform and the files.
    std::function<void()> changed;

private:
    class BlockWatch;
    void SetMesh(const MNMesh& mesh, const std::wstring& name);
    void SetShape(const BezierShape& shape, const std::wstring& name);
    void PlaceShape();
    void ShapeChanged(PartID part);
    void Changed();

    Scene scene;
    Modifier* mod = nullptr;
    INode* objectNode = nullptr;
    INode* shapeNode = nullptr;
    Matrix3 objectTM;
    BezierShape shapeAsRead;  // the placement derives the node's shape from it
    std::unique_ptr<BlockWatch> watch;
};
