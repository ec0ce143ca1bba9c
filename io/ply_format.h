// The encodings and value types of the PLY format.
#pragma once

#include <string>

enum class PlyEncoding { Ascii, BinaryLittleEndian, BinaryBigEndian };

enum class PlyType { Int8, UInt8, Int16, UInt16, Int32, UInt32, Float32, Float64 };

// The type a header names ("char", "uchar", "short", "ushort", "int", "uint",
// "float", "double", or the sized names "int8" ... "float64"); false for others.
bool PlyTypeFromName(const std::string& name, PlyType& type);
// The name a header gives type, in the classic spelling.
const char* PlyTypeName(PlyType type);
// Bytes of one value in the binary encodings.
int PlyTypeSize(PlyType type);
bool PlyTypeIsInteger(PlyType type);
// Smallest and largest value of an integer type.
double PlyTypeMin(PlyType type);
double PlyTypeMax(PlyType type);
