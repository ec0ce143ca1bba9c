/* The two-dimensional constrained Delaunay triangulator's C interface: the
 * record type triangulateio and the call triangulate, with the switches z, p, q
 * and Q. Every output array is allocated with malloc and
 * belongs to the caller, who releases them with free. */
#ifndef SLITFORM_TRIANGLE_H
#define SLITFORM_TRIANGLE_H

#define REAL double

#ifdef __cplusplus
extern "C" {
#endif

struct triangulateio {
    REAL* pointlist;
    REAL* pointattributelist;
    int* pointmarkerlist;
    int numberofpoints;
    int numberofpointattributes;

    int* trianglelist;
    REAL* triangleattributelist;
    REAL* trianglearealist;
    int* neighborlist;
    int numberoftriangles;
    int numberofcorners;
    int numberoftriangleattributes;

    int* segmentlist;
    int* segmentmarkerlist;
    int numberofsegments;

    REAL* holelist;
    int numberofholes;

    REAL* regionlist;
    int numberofregions;

    int* edgelist;
    int* edgemarkerlist;
    REAL* normlist;
    int numberofedges;
};

void triangulate(char* switches, struct triangulateio* in, struct triangulateio* out,
                 struct triangulateio* vorout);

/* Failure codes of triangulate; a failed call leaves an output without points,
 * triangles or segments. */
#define TRIANGULATE_OK 0
#define TRIANGULATE_BAD_SWITCHES 1
#define TRIANGULATE_BAD_RECORD 2
#define TRIANGULATE_BAD_SEGMENT 3
#define TRIANGULATE_NOT_FINITE 4
#define TRIANGULATE_TOO_FEW_POINTS 5
#define TRIANGULATE_COLLINEAR 6
#define TRIANGULATE_INTERNAL 7
#define TRIANGULATE_TOO_MANY_CROSSINGS 8 /* more than 100000 crossings among the segments */

/* The failure code of the calling thread's last triangulate call (TRIANGULATE_OK on success). */
int triangulate_last_error(void);

/* A short English text for the calling thread's last failure code. */
const char* triangulate_last_error_message(void);

/* 1 when the calling thread's last triangulate call stopped adding points at its limit,
 * leaving some triangles below the asked angle; 0 otherwise. */
int triangulate_refinement_limited(void);

#ifdef __cplusplus
}
#endif

#endif
