// Running a mesh reader we do not trust in a child process, so that its crash, its
// internal assertions, a stack it overflows or a file that asks for all memory or
// all time end the child and become one error, never the end of this process (the
// command line's batch, a Python interpreter).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "io/mesh_wire.h"

// Runs read in a forked child with limits, and gives what it read. The child may use
// 2 GiB of memory plus 64 bytes per byte of the input (input_bytes) beyond what it
// inherited, and one minute of processor time plus one second per MiB of input. True
// when the child gave a whole reading (read or refused, as reading.read says); false,
// with a one-line error naming path, when it could not start, crashed, or ran out of
// memory or time.
bool ReadInChildProcess(const std::string& path, std::size_t input_bytes,
                        const std::function<void(MeshReading&)>& read, MeshReading& reading,
                        std::string& error);
