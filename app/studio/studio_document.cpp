#include "app/studio/studio_document.h"

#include <QString>

#include "io/read_mesh.h"
#include "io/read_shape.h"
#include "io/text_shape.h"
#include "polyobj.h"
#include "resources.h"
#include "session/demo_scene.h"
#include "session/parameter_values.h"

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
    auto file = std::make_shared<MeshFile>();
    if (!ReadMesh(path, file->mesh, error, nullptr, &file->attributes))
        return false;
    bool hasFace = false;
    for (int f = 0; f < file->mesh.numf && !hasFace; ++f)
        hasFace = !file->mesh.f[f].GetFlag(MN_DEAD);
    if (!hasFace) {
        error = path + ": the mesh has no faces";
        return false;
    }
    file->name = NodeNameOf(path);
    const bool turned = file->attributes.up != up;
    up = file->attributes.up;
    SetMesh(std::move(file));
    if (turned && ShapeNode())
        SetShape(shape);  // fitted again over the new mesh's up
    return true;
}

bool StudioDocument::OpenShape(const std::string& path, std::string& error) {
    auto file = std::make_shared<ShapeFile>();
    if (!ReadShape(path, file->shape, error))
        return false;
    file->name = NodeNameOf(path);
    SetShape(std::move(file));
    return true;
}

bool StudioDocument::OpenText(const std::string& text, const std::string& family,
                              std::string& error) {
    auto file = std::make_shared<ShapeFile>();
    if (!TextShape(text, family, file->shape.splines, error))
        return false;
    file->name = QString::fromStdString(text).toStdWString();
    SetShape(std::move(file));
    return true;
}

void StudioDocument::OpenDemo() {
    std::unique_ptr<PolyObject> box(MakeRoundedBox(Point3(4.0f, 4.0f, 1.5f), 0.3f, 24));
    std::unique_ptr<SplineShape> star(MakeStar(5, 1.0f, 0.42f));
    auto meshFile = std::make_shared<MeshFile>();
    up = slitform::UpAxis::Z;
    meshFile->mesh = box->mm;
    meshFile->name = L"RoundedBox";
    auto shapeFile = std::make_shared<ShapeFile>();
    shapeFile->shape = star->shape;
    shapeFile->name = L"Star";
    SetMesh(std::move(meshFile));
    SetShape(std::move(shapeFile));
    std::string error;
    session.SetParameter("open", "on", error);
    session.SetParameter("weld_on", "on", error);
    session.PickShape();
}

void StudioDocument::SetMesh(std::shared_ptr<const MeshFile> file) {
    mesh = std::move(file);
    if (mesh) {
        session.SetMesh(mesh->mesh, mesh->name);
        GiveSessionTheAttributes();
    } else {
        session.SetMesh(MNMesh());
    }
    if (ShapeNode())
        ShapeChanged(PART_ALL);
    else
        Changed();
}

void StudioDocument::SetShape(std::shared_ptr<const ShapeFile> file) {
    shape = std::move(file);
    // Without a shape the node stays in the session, empty, and the document
    // shows none.
    session.SetFittedShape(shape ? shape->shape : BezierShape(), shape ? shape->name : L"shape",
                           placement.ToMatrix(), up == slitform::UpAxis::Y ? UpAxis::Y : UpAxis::Z);
    ShapeChanged(PART_ALL);
}

void StudioDocument::SetUp(slitform::UpAxis to) {
    if (to == up)
        return;
    up = to;
    if (mesh)
        GiveSessionTheAttributes();
    SetShape(shape);
}

void StudioDocument::GiveSessionTheAttributes() {
    if (mesh->attributes.up == up) {
        session.SetMeshAttributes(mesh->attributes);
        return;
    }
    MeshAttributes attributes = mesh->attributes;
    attributes.up = up;
    session.SetMeshAttributes(attributes);
}

void StudioDocument::SetPlacement(const NodeTransform& to) {
    placement = to;
    placement.matrix.reset();
    session.AdjustFittedShape(placement.ToMatrix());
    if (ShapeNode())
        ShapeChanged(PART_TM);
}

void StudioDocument::MoveShape(const Point3& delta) {
    if (!ShapeNode())
        return;
    NodeTransform moved = placement;
    moved.translate = moved.translate + delta;
    SetPlacement(moved);
}

StudioState StudioDocument::State() const {
    StudioState state;
    state.mesh = mesh;
    state.shape = shape;
    state.placement = placement;
    state.up = up;
    state.picked = ShapeNode() && PickedNode() == ShapeNode();
    if (IParamBlock2* block = Block())
        state.parameters = ParameterValuesOf(block);
    return state;
}

void StudioDocument::Restore(const StudioState& state) {
    placement = state.placement;
    const bool refit = state.up != up;
    up = state.up;
    if (state.mesh != mesh || (refit && mesh))
        SetMesh(state.mesh);
    if (state.shape != shape || refit)
        SetShape(state.shape);
    else
        SetPlacement(placement);
    if (IParamBlock2* block = Block())
        SetParameterValues(block, state.parameters);
    session.PickShape(state.picked && ShapeNode());
    Changed();
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
