#include "session/parameter_help.h"

#include <map>

std::string ParameterHelp(const std::string& name) {
    static const std::map<std::string, std::string> help = {
        {"Pick path", "the shape that cuts (the command line picks the SHAPE it reads)"},
        {"remove_unused",
         "remove the triangulation's edges that no shape line needs, so that cut faces stay "
         "polygons"},
        {"weld_on",
         "weld the cut faces to their neighbours, so that the mesh stays in one piece along "
         "the cut"},
        {"weld",
         "how close (in object units) two border vertices must be for the weld to join them"},
        {"open", "delete the faces inside closed shape lines, cutting holes"},
        {"local", "cut every face in its own plane instead of along the one projection direction"},
        {"collinear_on", "remove cut vertices that lie on a straight run of edges"},
        {"collinear", "the tolerance (object units) within which a vertex counts as on a run"},
        {"through",
         "also cut the faces that look away from the shape, so that the cut goes through the "
         "whole object"},
        {"matid_on", "give the faces inside closed shape lines the material ID matid"},
        {"matid", "the material ID for matid_on, counting from 1"},
        {"sel_level",
         "the selection level of the result: 0 object, 1 vertices, 2 edges, 3 faces, 4 as the "
         "mesh came in"},
        {"min_angle",
         "the smallest angle (degrees) that refinement aims for in the new triangles, adding "
         "points where needed"},
    };
    auto it = help.find(name);
    return it == help.end() ? std::string() : it->second;
}
