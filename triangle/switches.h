// The switches of a triangulate call.
#ifndef SLITFORM_TRIANGLE_SWITCHES_H
#define SLITFORM_TRIANGLE_SWITCHES_H

namespace tri {

struct Switches {
    bool zero_based = false;    // z: points numbered from 0 instead of 1
    bool planar_graph = false;  // p: the segments bound the region to triangulate
    bool quality = false;       // q: no triangle angle below min_angle
    double min_angle = 0.0;     // degrees
    bool quiet = false;         // Q
};

// Reads a switch text made of z, p, q (optionally followed by an angle such as 27.5;
// a bare q means 20 degrees) and Q. Returns false for a null text, any other character,
// a malformed angle or an angle above 60 degrees, which no triangulation can meet.
bool parse_switches(const char* text, Switches& switches);

}  // namespace tri

#endif
