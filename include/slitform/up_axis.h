// Which axis of a mesh's space is up.
#pragma once

namespace slitform {

// Z for most formats; Y for glTF, by its definition, and for many OBJ exports.
enum class UpAxis { Z, Y };

}  // namespace slitform
