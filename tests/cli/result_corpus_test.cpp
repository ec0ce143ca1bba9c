// Whole evaluations whose written files must not change: a corpus of cuts, each
// compared byte for byte (by digest) with the file the program wrote when the case
// was recorded, and with itself cut on one and on several threads. Work on speed
// must leave every digest as it is; a change of results records new ones.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Case {
    const char* name;
    const char* mesh;  // under the corpus folder, or examples/ when it starts with "ex:"
    const char* shape;
    const char* args;
    const char* md5;
};

const Case kCases[] = {
    {"s2000-star-on-27-on.ply", "sphere2000.ply", "star.json",
     "--shape-matrix 1,0,0,0,1,0,0,0,1,0,0,3 --set through=on --set min_angle=27 --set "
     "remove_unused=on --set weld_on=on",
     "32c3875036883b2a5429f8f5175b65ac"},
    {"s2000-star-off-0-off.ply", "sphere2000.ply", "star.json",
     "--shape-matrix 1,0,0,0,1,0,0,0,1,0,0,3 --set through=off --set min_angle=0 --set "
     "remove_unused=off --set weld_on=on",
     "1be67495a93cbfcb3976bc689eba468e"},
    {"s2000-circle-on-27-on.ply", "sphere2000.ply", "circle.json",
     "--shape-matrix 1,0,0,0,1,0,0,0,1,0,0,3 --set through=on --set min_angle=27 --set "
     "remove_unused=on --set weld_on=on",
     "a190697185cf6656d68fee5364002d81"},
    {"s2000-circle-off-0-off.ply", "sphere2000.ply", "circle.json",
     "--shape-matrix 1,0,0,0,1,0,0,0,1,0,0,3 --set through=off --set min_angle=0 --set "
     "remove_unused=off --set weld_on=on",
     "5b1d0c4c9bdeaf19302643dfbc5aa2a2"},
    {"s2000-zigzag-on-27-off.ply", "sphere2000.ply", "zigzag.json",
     "--shape-matrix 1,0,0,0,1,0,0,0,1,0,0,3 --set through=on --set min_angle=27 --set "
     "remove_unused=off --set weld_on=on",
     "7181f6bee8f2ca4cbf02c5771b88903a"},
    {"s2000-zigzag-off-0-on.ply", "sphere2000.ply", "zigzag.json",
     "--shape-matrix 1,0,0,0,1,0,0,0,1,0,0,3 --set through=off --set min_angle=0 --set "
     "remove_unused=on --set weld_on=on",
     "62c3283189be775b6ba2736bbd9c9fe9"},
    {"local-on.ply", "sphere2000.ply", "star.json",
     "--shape-matrix 1,0,0,0,1,0,0,0,1,0,0,3 --set local=on", "1f2a96ef052256b9bbb9fb9cb6940bcf"},
    {"box-ring.json-27.ply", "ex:grid_box.ply", "ex:ring.json", "--set min_angle=27 --set open=on",
     "b0120254883cb5e182649da4027c2d9f"},
    {"box-star.svg-0.obj", "ex:grid_box.obj", "ex:star.svg", "--set min_angle=0",
     "adc5ba09ea8a50ea3a0c620cfe80088b"},
    {"box-lettering.svg-27.ply", "ex:grid_box.ply", "ex:lettering.svg",
     "--set min_angle=27 --set open=on", "ef9c4a35f407574d5cb21e33f585734a"},
    {"cube.ply", "cube.ply", "logo.json",
     "--shape-matrix 1,0,0,0,1,0,0,0,1,0,0,3 --set through=on --set weld_on=on",
     "ee2a2efe52c55140ac9ebdd33166f2bc"},
};

std::string Input(const char* name) {
    std::string n = name;
    if (n.rfind("ex:", 0) == 0)
        return std::string(SLITFORM_EXAMPLES) + "/" + n.substr(3);
    return std::string(SLITFORM_CORPUS) + "/" + n;
}

// Cuts the case on the given number of threads; gives the written file's MD5 digest,
// or the program's error text.
std::string CutDigest(const Case& c, int threads, bool& ok) {
    // The case's own name, as an OBJ names its material library after itself.
    const std::string folder = ::testing::TempDir() + "corpus_" + std::to_string(getpid());
    mkdir(folder.c_str(), 0755);
    const std::string out = folder + "/" + c.name;
    std::string command = "SLITFORM_THREADS=" + std::to_string(threads) + " " + SLITFORM_PROGRAM +
                          " cut " + Input(c.mesh) + " " + Input(c.shape) + " -o " + out + " " +
                          c.args + " > /dev/null 2>&1";
    int status = std::system(command.c_str());
    ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::ifstream in(out, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::remove(out.c_str());
    std::remove((out.substr(0, out.rfind('.')) + ".mtl").c_str());
    rmdir(folder.c_str());
    std::string text = bytes.str();
    return QCryptographicHash::hash(QByteArray(text.data(), static_cast<int>(text.size())),
                                    QCryptographicHash::Md5)
        .toHex()
        .toStdString();
}

}  // namespace

TEST(ResultCorpus, EveryCaseWritesTheRecordedBytesOnOneAndOnSeveralThreads) {
    for (const Case& c : kCases) {
        bool ok = false;
        std::string single = CutDigest(c, 1, ok);
        ASSERT_TRUE(ok) << c.name;
        EXPECT_EQ(single, c.md5) << c.name;
        EXPECT_EQ(CutDigest(c, 3, ok), single) << c.name << " on three threads";
    }
}
