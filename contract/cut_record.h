// What the modifier records of its latest evaluation, for a host to read back
// through the library's export SlitformCutRecord (absent from earlier builds).
#pragma once

#include <atomic>

#include "point3.h"

class Modifier;

struct CutRecord {
    // The evaluation reached the cut: a shape with points was picked.
    bool cut = false;
    // Along which the shape was projected, in the object's space; zero without a cut.
    Point3 projectionDirection;
    // Faces whose refinement stopped at the triangulator's point limit, short of
    // min_angle.
    int facesAtPointLimit = 0;
    // Faces left uncut because the shape crosses itself there more often than the
    // triangulator takes (100000 crossings).
    int facesOverCrossingLimit = 0;
};

// The export's name and type: the record of a Slitform modifier, or nullptr for
// any other object.
#define CUT_RECORD_EXPORT "SlitformCutRecord"
typedef const CutRecord* (*SlitformCutRecordFn)(Modifier* mod);

// The export that tells, from any thread while an evaluation runs, how many of the
// faces its cut will visit it has visited: false for any object but a Slitform
// modifier. Both are 0 until the cut begins.
#define CUT_PROGRESS_EXPORT "SlitformCutProgress"
typedef bool (*SlitformCutProgressFn)(Modifier* mod, long long* visited, long long* total);

// The export that hands a Slitform modifier a flag to watch while it evaluates (nullptr:
// none). Once the flag turns true, from any thread, the evaluation stops at its next
// face and returns its object part done: the host must throw that object away. The
// flag must outlive every evaluation that may run while it is handed over. False for
// any object but a Slitform modifier.
// The export that tells, for every face of a Slitform modifier's latest result, the
// face of its input it came from: *count origins at *origins (valid until the next
// evaluation). A face the cut left alone keeps its index; a face it appended gives the
// face it replaced. *count is 0 when the evaluation changed no face's place (no shape
// picked, nothing cut). False for any object but a Slitform modifier.
#define FACE_ORIGINS_EXPORT "SlitformFaceOrigins"
typedef bool (*SlitformFaceOriginsFn)(Modifier* mod, const int** origins, int* count);

#define CUT_CANCEL_EXPORT "SlitformWatchCancel"
typedef bool (*SlitformWatchCancelFn)(Modifier* mod, const std::atomic<bool>* flag);
