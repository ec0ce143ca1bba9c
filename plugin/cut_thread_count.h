// How many threads the face cuts of an evaluation use.
#pragma once

// The value of SLITFORM_THREADS when it is a whole number from 1 to 256, else the
// machine's hardware threads (at least 1).
int CutThreadCount();
