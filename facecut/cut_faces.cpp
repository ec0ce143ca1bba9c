#include "facecut/cut_faces.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "facecut/cut_flags.h"
#include "facecut/cut_trace.h"
#include "facecut/face_corner_spacing.h"
#include "facecut/face_cut_state.h"
#include "facecut/face_triangulation.h"
#include "facecut/input/triangulation_input.h"
#include "facecut/parallel_for.h"
#include "facecut/point_in_polyline.h"
#include "facecut/prepare/far_shape_index.h"
#include "facecut/prepare/prepare_face_cut.h"
#include "facecut/produce_in_order.h"
#include "facecut/rebuild/rebuild_face.h"

namespace {

// Faces whose first phase runs together: the states of those it cuts are held at
// once. Most faces of a large mesh are far from the shape and cost next to nothing
// there, so a batch of them would hardly pay for starting the threads.
constexpr int kWindow = 4096;
// Cut faces triangulated together: their triangulations are held at once.
constexpr int kBatch = 512;
// Faces of the first phase taken by one thread at a time, and counted as visited
// together.
constexpr int kChunk = 8;

// Gives the triangulation inputs their turns in face order: the weld's sort keeps
// process-wide state, so the inputs are built one after another, as on one thread.
class InputTurns {
public:
    // Waits for turn k, and ends it when it goes out of scope, thrown out or not.
    class Turn {
    public:
        Turn(InputTurns& turns, int k) : turns_(turns) {
            std::unique_lock<std::mutex> hold(turns_.lock_);
            turns_.changed_.wait(hold, [&] { return turns_.next_ == k; });
        }
        ~Turn() {
            std::lock_guard<std::mutex> hold(turns_.lock_);
            ++turns_.next_;
            turns_.changed_.notify_all();
        }
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

    private:
        InputTurns& turns_;
    };

private:
    std::mutex lock_;
    std::condition_variable changed_;
    int next_ = 0;
};

struct FaceJob {
    FaceCutState state;
    FaceTriangulation tri;
    bool cuts = false;
    bool triangulated = false;
};

}  // namespace

CutFacesSummary CutFaces(MNMesh& mesh, const std::vector<int>& faces, const PolyShape& shape,
                         const CutSettings& settings, std::atomic<long long>* visited,
                         const std::atomic<bool>* stop) {
    auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    CutTrace trace;
    CutFacesSummary summary;
    const int total = static_cast<int>(faces.size());
    const int firstCreated = mesh.numf;
    // Faces the projected shape stays far from need no first phase of their own.
    std::optional<FarShapeIndex> far;
    if (!settings.local && total > 0)
        far.emplace(shape, settings.direction);
    const FarShapeIndex* farIndex = far ? &*far : nullptr;
    for (int begin = 0; begin < total && !stopped(); begin += kWindow) {
        const int count = std::min(kWindow, total - begin);
        std::vector<std::unique_ptr<FaceJob>> jobs(static_cast<size_t>(count));
        // The first phase reads only the face's own corners and writes only its flags;
        // earlier rebuilds change neither. A face it leaves uncut is done.
        ParallelFor((count + kChunk - 1) / kChunk, settings.threads, [&](int chunk) {
            int done = 0;
            for (int i = chunk * kChunk; i < std::min(count, (chunk + 1) * kChunk) && !stopped();
                 ++i) {
                auto job = std::make_unique<FaceJob>();
                job->cuts =
                    PrepareFaceCut(mesh, faces[begin + i], shape, settings, job->state, farIndex);
                if (job->cuts)
                    jobs[i] = std::move(job);
                else
                    ++done;
            }
            if (visited)
                visited->fetch_add(done, std::memory_order_relaxed);
        });
        if (stopped())
            break;
        std::vector<int> cut;
        for (int i = 0; i < count; ++i)
            if (jobs[i])
                cut.push_back(i);
        for (size_t first = 0; first < cut.size() && !stopped(); first += kBatch) {
            const int batch =
                static_cast<int>(std::min(cut.size() - first, static_cast<size_t>(kBatch)));
            const int* in = cut.data() + first;
            // Each face is rebuilt as soon as it is triangulated, while the other threads
            // build the inputs of the faces after it, one at a time and in order, and
            // triangulate them.
            InputTurns turns;
            ProduceInOrder(
                batch, settings.threads,
                [&](int k) {
                    {
                        InputTurns::Turn turn(turns, k);
                        BuildTriangulationInput(jobs[in[k]]->state, settings, jobs[in[k]]->tri);
                    }
                    if (!stopped())
                        jobs[in[k]]->triangulated = RunTriangulation(jobs[in[k]]->tri);
                },
                [&](int k) {
                    if (stopped())
                        return;
                    FaceJob& job = *jobs[in[k]];
                    int face = faces[begin + in[k]];
                    // A face the triangulator cannot take, or that no triangle would
                    // replace, stays as it was, flagged like a face the shape does not cut.
                    double spacing = FaceCornerSpacing(mesh, face);
                    if (!job.triangulated || !RebuildFace(mesh, face, job.state, settings, job.tri,
                                                          trace, &summary.outlineVertices)) {
                        MarkFaceUncut(mesh.f[face],
                                      PointInClosedLines(job.state.centroid, job.state.frameShape));
                        if (job.tri.tooManyCrossings)
                            ++summary.facesOverCrossingLimit;
                    } else {
                        summary.cornerSpacing = std::min(summary.cornerSpacing, spacing);
                        if (job.tri.refinementLimited)
                            ++summary.facesAtPointLimit;
                    }
                    summary.createdFrom.resize(static_cast<size_t>(mesh.numf - firstCreated), face);
                    jobs[in[k]].reset();
                });
            if (visited)
                visited->fetch_add(batch, std::memory_order_relaxed);
        }
    }
    return summary;
}
