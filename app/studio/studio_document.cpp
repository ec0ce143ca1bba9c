#include "app/studio/studio_document.h"

#include "app/io/read_mesh.h"
#include "app/io/read_shape.h"
#include "app/session/demo_scene.h"
#include "polyobj.h"
#include "resources.h"

namespace {

// The file's name without its folder and extension, as a node name.
std::wstring NodeNameOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name = name.substr(0, dot);
    return WideFromUtf8(name.empty() ? path : name);
}

}  // namespace

// Hears the changes of the modifier's parameter block, whatever the modifier
// passes on.
class StudioDocument::BlockWatch : public ReferenceMaker {
public:
    BlockWatch(IParamBlock2* block, std::function<void()> heard) : heard(std::move(heard)) {
        ReplaceReference(0, block, false);
    }
    ~BlockWatch() override { DeleteAllRefs(); }
    SClass_ID SuperClassID() const override { return 0; }
    Class_ID ClassID() const override { return Class_ID(0, 0); }
    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int) override { return block; }
    void SetReference(int, ReferenceTarget* target) override { block = target; }
    RefResult NotifyRefChanged(const Interval&, ReferenceTarget*, PartID&, RefMessage message,
                               bool) override {
        if (message == REFMSG_CHANGE)
            heard();
        return REF_SUCCEED;
    }

private:
    ReferenceTarget* block = nullptr;
    std::function<void()> heard;
};

StudioDocument::StudioDocument(std::shared_ptr<const PluginLibrary> lib) : session(std::move(lib)) {
    if (IParamBlock2* block = Block())
        watch = std::make_unique<BlockWatch>(block, [this] { Changed(); });
}

StudioDocument::~StudioDocument() = default;

bool StudioDocument::OpenMesh(const std::string& path, std::string& error) {
    MNMesh mesh;
    MeshAttributes attributes;
    if (!ReadMesh(path, mesh, error, nullptr, &attributes))
        return false;
    bool hasFace = false;
    for (int f = 0; f < mesh.numf && !hasFace; ++f) hasFace = !mesh.f[f].GetFlag(MN_DEAD);
    if (!hasFace) {
        error = path + ": the mesh has no faces";
        return false;
    }
    SetMesh(mesh, NodeNameOf(path));
    session.SetMeshAttributes(attributes);
    return true;
}

bool StudioDocument::OpenShape(const std::string& path, std::string& error) {
    BezierShape shape;
    if (!ReadShape(path, shape, error))
        return false;
    SetShape(shape, NodeNameOf(path));
    return true;
}

void StudioDocument::OpenDemo() {
    std::unique_ptr<PolyObject> box(MakeRoundedBox(Point3(4.0f, 4.0f, 1.5f), 0.3f, 24));
    std::unique_ptr<SplineShape> star(MakeStar(5, 1.0f, 0.42f));
    SetMesh(box->mm, L"RoundedBox");
    SetShape(star->shape, L"Star");
    std::string error;
    session.SetParameter("open", "on", error);
    session.PickShape();
}

void StudioDocument::SetMesh(const MNMesh& mesh, const std::wstring& name) {
    session.SetMesh(mesh, name);
    if (ShapeNode())
        ShapeChanged(PART_ALL);
    else
        Changed();
}

void StudioDocument::SetShape(const BezierShape& shape, const std::wstring& name) {
    session.SetFittedShape(shape, name);
    ShapeChanged(PART_ALL);
}

void StudioDocument::MoveShape(const Point3& delta) {
    INode* shapeNode = ShapeNode();
    if (!shapeNode)
        return;
    shapeNode->SetNodeTM(0, shapeNode->GetNodeTM(0) * TransMatrix(delta));
    ShapeChanged(PART_TM);
}

void StudioDocument::ShapeChanged(PartID part) {
    // A picked node tells the block, which tells the rollout (its button shows the
    // name) and the watch; a node nobody picked concerns only the picture.
    INode* shapeNode = ShapeNode();
    if (shapeNode && PickedNode() == shapeNode)
        shapeNode->NotifyDependents(FOREVER, part, REFMSG_CHANGE);
    else
        Changed();
}

void StudioDocument::Changed() {
    if (changed)
        changed();
}

std::vector<ViewLine> StudioDocument::ShapeLines() const {
    std::vector<ViewLine> lines;
    INode* shapeNode = ShapeNode();
    if (!shapeNode)
        return lines;
    auto* shape = static_cast<SplineShape*>(shapeNode->GetObjectRef());
    PolyShape poly;
    shape->MakePolyShape(0, poly, shape->shape.steps, shape->shape.optimize);
    Matrix3 tm = shapeNode->GetObjectTM(0);
    for (int i = 0; i < poly.numLines; ++i) {
        ViewLine line;
        line.closed = poly.lines[i].IsClosed();
        for (int j = 0; j < poly.lines[i].numPts; ++j)
            line.points.push_back(poly.lines[i].pts[j].p * tm);
        lines.push_back(std::move(line));
    }
    return lines;
}
