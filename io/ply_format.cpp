#include "io/ply_format.h"

namespace {

struct TypeInfo {
    PlyType type;
    const char* name;
    const char* sizedName;
    int size;
    double min;
    double max;
};

const TypeInfo kTypes[] = {
    {PlyType::Int8, "char", "int8", 1, -128.0, 127.0},
    {PlyType::UInt8, "uchar", "uint8", 1, 0.0, 255.0},
    {PlyType::Int16, "short", "int16", 2, -32768.0, 32767.0},
    {PlyType::UInt16, "ushort", "uint16", 2, 0.0, 65535.0},
    {PlyType::Int32, "int", "int32", 4, -2147483648.0, 2147483647.0},
    {PlyType::UInt32, "uint", "uint32", 4, 0.0, 4294967295.0},
    {PlyType::Float32, "float", "float32", 4, 0.0, 0.0},
    {PlyType::Float64, "double", "float64", 8, 0.0, 0.0},
};

const TypeInfo& Info(PlyType type) {
    return kTypes[static_cast<int>(type)];
}

}  // namespace

bool PlyTypeFromName(const std::string& name, PlyType& type) {
    for (const TypeInfo& info : kTypes)
        if (name == info.name || name == info.sizedName) {
            type = info.type;
            return true;
        }
    return false;
}

const char* PlyTypeName(PlyType type) {
    return Info(type).name;
}
int PlyTypeSize(PlyType type) {
    return Info(type).size;
}
bool PlyTypeIsInteger(PlyType type) {
    return type != PlyType::Float32 && type != PlyType::Float64;
}
double PlyTypeMin(PlyType type) {
    return Info(type).min;
}
double PlyTypeMax(PlyType type) {
    return Info(type).max;
}
