// The glTF check on arbitrary bytes: the first byte says .glb (odd) or .gltf, the
// rest is the file; a fake folder holds one external buffer, "b.bin", of 256 bytes
// (as 32-bit words: 0, 1, 2, 0, ...).
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "io/gltf_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool glb = (data[0] & 1) != 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    auto load = [](const std::string& uri, std::string& out) {
        if (uri != "b.bin")
            return false;
        out.assign(256, '\0');
        for (std::size_t i = 0; i < out.size(); i += 4) out[i] = static_cast<char>(i / 4 % 3);
        return true;
    };
    std::string problem;
    if (!CheckGltf(bytes, glb, load, problem)) {
        FuzzRequire(!problem.empty(), "a refusal without a reason");
        FuzzRequire(problem.find('\n') == std::string::npos, "a reason of more than one line");
    }
    return 0;
}
