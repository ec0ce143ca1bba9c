// cut_logo MESH SHAPE OUT [NAME=VALUE ...]: cuts a mesh file along a shape file
// through the slitform library and writes the result, with a progress line.
#include <cstdio>
#include <string>

#include "slitform/cut.h"
#include "slitform/read_mesh.h"
#include "slitform/read_shape.h"
#include "slitform/write_mesh.h"

namespace {

class PrintProgress : public slitform::Progress {
public:
    bool Update(long long done, long long total, double seconds) override {
        std::fprintf(stderr, "\r%lld of %lld faces, %.1f s", done, total, seconds);
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: cut_logo MESH SHAPE OUT [NAME=VALUE ...]\n");
        return 2;
    }
    try {
        slitform::Parameters parameters;
        for (int i = 4; i < argc; ++i) {
            std::string set = argv[i];
            std::string::size_type eq = set.find('=');
            if (eq == std::string::npos) {
                std::fprintf(stderr, "cut_logo: %s: not NAME=VALUE\n", argv[i]);
                return 2;
            }
            parameters.Set(set.substr(0, eq), set.substr(eq + 1));
        }
        PrintProgress progress;
        slitform::Outcome outcome = slitform::Cut(
            slitform::ReadMesh(argv[1]), slitform::ReadShape(argv[2]), parameters, &progress);
        slitform::WriteMesh(argv[3], outcome);
        std::fprintf(stderr, "\n%d faces cut, %zu faces selected\n", outcome.report.facesCut,
                     outcome.selectedFaces.size());
    } catch (const slitform::Error& e) {
        std::fprintf(stderr, "\ncut_logo: %s\n", e.what());
        return 1;
    }
    return 0;
}
