// The base directory compiled into each executable: the FM and FSK folders
// lie below it. CMake generates its definition from sample_root.cpp.in, one
// per executable (see cmake/HkcsvExecutable.cmake).
#pragma once

namespace hkcsv {

extern const char kSampleRoot[];

}  // namespace hkcsv
