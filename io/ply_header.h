// The header of a PLY file: its encoding and the elements it declares.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "io/ply_format.h"

struct PlyProperty {
    std::string name;
    bool isList = false;
    PlyType countType = PlyType::UInt8;  // lists only
    PlyType type = PlyType::Float32;     // the value, or each item of a list
};

struct PlyElement {
    std::string name;
    long long count = 0;
    std::vector<PlyProperty> properties;

    // The index of the property called name, or -1.
    int Find(const std::string& propertyName) const;
};

struct PlyHeader {
    PlyEncoding encoding = PlyEncoding::Ascii;
    std::vector<PlyElement> elements;
    std::size_t dataOffset = 0;  // first byte after the end_header line
    int dataLine = 1;            // line number of that byte
};

// Parses the header at the start of bytes. False with a one-line problem
// ("line 4: ...") when it is not a PLY header or declares something this reader
// does not know: another format version, an unknown type or keyword, an element
// without properties, a count above 2^31 - 1, a repeated name.
bool ParsePlyHeader(const std::string& bytes, PlyHeader& header, std::string& problem);
