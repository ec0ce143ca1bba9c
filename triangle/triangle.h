/* The two-dimensional constrained Delaunay triangulator's C interface: the
 * record type triangulateio and the call triangulate, with the switches z, p, q
 * and Q. Output arrays that the caller leaves NULL are allocated with malloc and
 * belong to the caller, who releases them with free. */
#ifndef SLITFORM_TRIANGLE_H
#define SLITFORM_TRIANGLE_H

#define REAL double

#ifdef __cplusplus
extern "C" {
#endif

struct triangulateio {
    REAL *pointlist;
    REAL *pointattributelist;
    int *pointmarkerlist;
    int numberofpoints;
    int numberofpointattributes;

    int *trianglelist;
    REAL *triangleattributelist;
    REAL *trianglearealist;
    int *neighborlist;
    int numberoftriangles;
    int numberofcorners;
    int numberoftriangleattributes;

    int *segmentlist;
    int *segmentmarkerlist;
    int numberofsegments;

    REAL *holelist;
    int numberofholes;

    REAL *regionlist;
    int numberofregions;

    int *edgelist;
    int *edgemarkerlist;
    REAL *normlist;
    int numberofedges;
};

void triangulate(char *switches, struct triangulateio *in, struct triangulateio *out,
                 struct triangulateio *vorout);

#ifdef __cplusplus
}
#endif

#endif
