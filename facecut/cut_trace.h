// What one face cut leaves for the next cut of the same evaluation.
#pragma once

// Every cut clears the removal flag of faces and the interior flag of edges before it
// sets them anew. Over the whole mesh that is only needed once, for flags the input
// may carry; after that only the previous cut can have set them, on its face and on
// the edges it made.
struct CutTrace {
    bool cleared = false;  // the whole mesh was cleared once
    int lastFace = -1;     // the face the previous cut removed
    int edgesFrom = 0;     // the edges the previous cut made: [edgesFrom, edgesTo)
    int edgesTo = 0;
};
