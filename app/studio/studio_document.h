// The scene the window edits: a cut session holding the object under the modifier
// and the shape, as the user opened them, and the modifier whose rollouts the
// command panel shows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/studio/studio_state.h"
#include "app/studio/view_line.h"
#include "session/cut_session.h"

class StudioDocument {
public:
    // A session on lib with an object without faces; Mod() is nullptr when the
    // library offers no Slitform modifier.
    explicit StudioDocument(std::shared_ptr<const PluginLibrary> lib);
    ~StudioDocument();
    StudioDocument(const StudioDocument&) = delete;
    StudioDocument& operator=(const StudioDocument&) = delete;

    Modifier* Mod() const { return session.Mod(); }
    IParamBlock2* Block() const { return session.Block(); }
    // The node the modifier's pick button holds, or nullptr.
    INode* PickedNode() const { return session.PickedNode(); }
    INode* ObjectNode() const { return session.ObjectNode(); }
    // The shape's node, or nullptr while no shape is open.
    INode* ShapeNode() const { return shape ? session.ShapeNode() : nullptr; }
    const MNMesh& Mesh() const { return session.Mesh(); }
    Matrix3 ObjectTM() const { return session.ObjectNode()->GetNodeTM(0); }

    // Opens the mesh (PLY, OBJ and the rest ReadMesh reads) or the shape (SVG,
    // JSON) at path in place of the current one; false with a one-line error, and
    // nothing changed, for a file that cannot be read or holds no faces or points.
    // The shape is placed over the object as the command line places it, under the
    // current placement.
    bool OpenMesh(const std::string& path, std::string& error);
    bool OpenShape(const std::string& path, std::string& error);
    // Lettering (UTF-8) in a font family as the shape, as the command line's --text
    // makes it; false with the reason, and nothing changed, for a font that is not
    // installed or text that draws nothing.
    bool OpenText(const std::string& text, const std::string& family, std::string& error);
    // The demo of the command line: a rounded box and a star picked to cut a hole,
    // welded.
    void OpenDemo();

    // Makes the shape the modifier's pick.
    void PickShape() { session.PickShape(); }

    // The shape's placement on top of the automatic fit (see PlacementPanel).
    const NodeTransform& Placement() const { return placement; }
    void SetPlacement(const NodeTransform& to);
    // The mesh's up axis, which the fit lays the shape over and a glTF result keeps:
    // the file's own (Y for glTF, else Z) when a mesh is opened, or as set.
    slitform::UpAxis Up() const { return up; }
    void SetUp(slitform::UpAxis to);
    // Moves the shape by a world displacement (its placement's translation).
    void MoveShape(const Point3& delta);

    // The scene as values, and back: Restore puts the scene into a state taken
    // before, files, placement, pick and parameters.
    StudioState State() const;
    void Restore(const StudioState& state);

    // A session of its own on copies of everything an evaluation reads.
    std::unique_ptr<CutSession> Snapshot() const { return session.Clone(); }
    // The shape's polylines in world space, as evaluations flatten it.
    std::vector<ViewLine> ShapeLines() const;

    // Hears every change an evaluation depends on: parameters, the pick, the
    // shape's transform and the files.
    std::function<void()> changed;

private:
    class BlockWatch;
    void SetMesh(std::shared_ptr<const MeshFile> file);
    void SetShape(std::shared_ptr<const ShapeFile> file);
    void GiveSessionTheAttributes();
    void ShapeChanged(PartID part);
    void Changed();

    CutSession session;
    std::unique_ptr<BlockWatch> watch;
    std::shared_ptr<const MeshFile> mesh;
    std::shared_ptr<const ShapeFile> shape;
    NodeTransform placement;
    slitform::UpAxis up = slitform::UpAxis::Z;
};
