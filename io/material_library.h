// An OBJ file's material library (.mtl), carried from the input to the result.
#pragma once

#include <string>
#include <vector>

// The library named name by the OBJ file at path (whose bytes are given), read by the
// rules of ReadReferencedFile (a regular file inside the OBJ's own folder), with every
// texture map's file made an absolute path, so that the text means the same from any
// folder. False, with a one-line reason, when it is refused or cannot be read.
bool ReadMaterialLibrary(const std::string& path, const std::string& bytes, const std::string& name,
                         std::string& text, std::string& problem);

// The library to write beside a result in folder: library (as ReadMaterialLibrary
// gives it) with its texture paths made relative to folder where they can be, then a
// plain definition of every name in used that it does not define ("slitform_inside",
// which the cut gives the faces inside the shape, in a colour of its own).
std::string MaterialLibraryText(const std::string& library, const std::vector<std::string>& used,
                                const std::string& folder);

// The library's name beside an OBJ written at path: its name with ".mtl" for ".obj".
std::string MaterialLibraryName(const std::string& path);

// The folder of the file at path, symlinks resolved; empty when it cannot be found.
std::string RealFolderOf(const std::string& path);

// The file of material's diffuse map ("map_Kd") in library (as ReadMaterialLibrary
// gives it), or empty.
std::string DiffuseTexture(const std::string& library, const std::string& material);

// An image to embed: the PNG or JPEG file at file, read only when it lies inside folder
// (symlinks resolved), is a regular file of at most 256 MiB and starts as its format
// does. False otherwise, reading nothing else; format is "png" or "jpg".
bool ReadTextureImage(const std::string& file, const std::string& folder, std::string& bytes,
                      std::string& format);
