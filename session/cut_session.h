// The one place that drives the Slitform plug-in: a scene of an object under the
// modifier and a shape, placed, with the modifier's parameters, evaluated into a
// CutOutcome. The command line, the window, the tests and the benchmarks all cut
// through it.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "polyobj.h"
#include "session/cut_outcome.h"
#include "session/cut_report.h"
#include "session/plugin_library.h"
#include "session/scene.h"
#include "session/shape_placement.h"
#include "splshape.h"

// Hears an evaluation's progress on the calling thread, about ten times a second
// and once at the end: faces visited of the faces the cut will visit (a plug-in
// too old to say counts the faces replaced), and the seconds since the evaluation
// began.
using CutProgress = std::function<void(long long done, long long total, double seconds)>;

class CutSession {
public:
    // Loads the plug-in at path (DefaultPluginPath() when empty); nullptr with a
    // one-line error when it cannot be loaded or offers no Slitform modifier.
    static std::unique_ptr<CutSession> Open(const std::string& path, std::string& error);
    // A session on a loaded library: an object without faces under a new modifier,
    // no shape. Mod() is nullptr when the library offers no Slitform modifier.
    explicit CutSession(std::shared_ptr<const PluginLibrary> lib);
    ~CutSession();
    CutSession(const CutSession&) = delete;
    CutSession& operator=(const CutSession&) = delete;

    const PluginLibrary& Library() const { return *lib; }
    Modifier* Mod() const { return mod; }
    IParamBlock2* Block() const;
    INode* ObjectNode() const { return objectNode; }
    // The shape's node, or nullptr before a shape is set.
    INode* ShapeNode() const { return shapeNode; }
    // The node the modifier's pick button holds, or nullptr.
    INode* PickedNode() const;
    // The mesh going in.
    const MNMesh& Mesh() const;

    // The object, in place of the current one, its node placed by tm; the session
    // takes obj. A shape placed by the automatic fit is fitted again.
    void SetObject(PolyObject* obj, const std::wstring& name = L"object",
                   const Matrix3& tm = Matrix3());
    // What the mesh going in carries besides its geometry, aligned with it; SetObject
    // and SetMesh drop it. The evaluation carries it onto the result.
    void SetMeshAttributes(const MeshAttributes& meshAttributes);
    const MeshAttributes& MeshAttributesIn() const { return attributes; }
    // SetObject with a copy of mesh.
    void SetMesh(MNMesh mesh, const std::wstring& name = L"object", const Matrix3& tm = Matrix3());
    // The shape, placed by the automatic fit: centred over the object, scaled to 80%
    // of its footprint, lying flat above it, up being world Z or Y; adjust then applies
    // about the fitted shape's centre (rotation and scale) and moves it from there.
    void SetFittedShape(const BezierShape& shape, const std::wstring& name = L"shape",
                        const Matrix3& adjust = Matrix3(), UpAxis up = UpAxis::Z);
    // The adjustment of a fitted shape, in place of the one it was set with: the
    // shape is fitted again under it. Does nothing to a shape placed as given.
    void AdjustFittedShape(const Matrix3& adjust);
    // The shape, its node placed by tm as given.
    void SetPlacedShape(const BezierShape& shape, const Matrix3& tm,
                        const std::wstring& name = L"shape");
    // Any object as the shape, its node placed by tm: the modifier converts or
    // refuses what is not a spline shape.
    void SetShapeObject(Object* shape, const Matrix3& tm, const std::wstring& name = L"shape");
    // Another node in the scene, for a pick of something else; the scene takes obj.
    INode* AddNode(const std::wstring& name, Object* obj, const Matrix3& tm = Matrix3());
    // Points the modifier's pick button at the shape's node (or at nothing).
    void PickShape(bool pick = true);
    // See SetParameterByName.
    bool SetParameter(const std::string& name, const std::string& value, std::string& error);
    // Every parameter's name, kind and value as the modifier holds it, in its order (the
    // picked node left out); empty without a modifier.
    std::vector<ReportedParameter> ReportedParameters() const;

    // Evaluates the object's node. Without progress it runs on the calling thread;
    // with it, on a worker thread while the caller hears progress. Any exception of
    // the evaluation ends up in the outcome's error. Without copyMesh the outcome's
    // mesh stays empty, so that a benchmark measures the evaluation's memory alone.
    // Once *cancel turns true (from progress or any thread) the evaluation stops at
    // its next face (the plug-in watches the flag; builds without that export stop
    // at the next face they delete), and the outcome says it was cancelled (with an
    // empty mesh, so that stopping costs no copy); the session then holds no valid
    // result until it evaluates again.
    CutOutcome Evaluate(const CutProgress& progress = CutProgress(), bool copyMesh = true,
                        const std::atomic<bool>* cancel = nullptr);

    // A session of its own on copies of this one's mesh, shape, placement, pick and
    // parameters, on the same library: for an evaluation on another thread while
    // this one goes on changing.
    std::unique_ptr<CutSession> Clone() const;

private:
    void SetShapeNode(Object* shape, const Matrix3& tm, const std::wstring& name);
    void FitShape();
    // Names the material ID that matid gives the inside faces, when on and unnamed.
    void NameInsideMaterial(MeshAttributes& out) const;

    std::shared_ptr<const PluginLibrary> lib;
    Scene scene;  // after the library: gone before it is unloaded
    Modifier* mod = nullptr;
    INode* objectNode = nullptr;
    INode* shapeNode = nullptr;
    bool fitted = false;  // the shape follows the automatic fit
    BezierShape shapeAsRead;
    Matrix3 fitAdjust;
    UpAxis fitUp = UpAxis::Z;
    MeshAttributes attributes;
};
