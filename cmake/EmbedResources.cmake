# Writes OUTPUT: a C++ source that exports FILES (separated by |, the resource
# script first) as the module's resources, as the host reads them.
# Usage: cmake -DOUTPUT=out.cpp -DFILES="a.rc|b.bmp" -P EmbedResources.cmake
string(REPLACE "|" ";" FILES "${FILES}")
set(body "// Generated from the module's resource files; do not edit.\n#include \"resources.h\"\n\nnamespace {\n")
set(entries "")
set(i 0)
foreach(f IN LISTS FILES)
  file(READ "${f}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  get_filename_component(name "${f}" NAME)
  string(APPEND body "const unsigned char file${i}[] = {${bytes}0};\n")
  string(APPEND entries "    {\"${name}\", file${i}, ${size}},\n")
  math(EXPR i "${i} + 1")
endforeach()
string(APPEND body "}  // namespace\n\nextern \"C\" HOST_DLLEXPORT const HostResourceFile HostModuleResourceFiles[] = {\n${entries}    {nullptr, nullptr, 0}};\n")
file(WRITE "${OUTPUT}" "${body}")
