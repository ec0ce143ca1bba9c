// Checking a glTF 2.0 file's structure before a reader trusts it, as the format's
// validator does: every index, count, offset and length that says where data lies.
#pragma once

#include <functional>
#include <string>

// Takes the bytes of a .gltf (JSON) or .glb (binary container) file, glb telling which.
// False, with a one-line problem naming the item ("accessor 3: ..."), when the
// container's lengths disagree with the file, the JSON cannot be read, an extension
// beyond materials, textures and lights is required, or a buffer, buffer view,
// accessor, mesh primitive or node is malformed: an index to nothing, a component type
// or element type the format does not define, data reaching past the view or the
// buffer that holds it (sizes counted without wrapping), a byte stride outside 4 to
// 252 or not a multiple of 4, positions that are not three floats, indices that are
// not unsigned whole numbers, an unknown primitive mode, or a node matrix of other
// than 16 numbers; or when an index names a vertex past its primitive's positions
// (the buffers are read for that: a GLB's own, data URIs, and others through load,
// given a buffer's URI; a buffer load cannot give is left to the reader).
bool CheckGltf(const std::string& bytes, bool glb,
               const std::function<bool(const std::string& uri, std::string& data)>& load,
               std::string& problem);
