// The base directory compiled into each executable: the FM and FSK folders
// lie below it. CMake generates its definition from sample_root.cpp.in, one
// per executable (see cmake/HkcsvExecutable.cmake).
#pragma once

extern const char kSampleRoot[];
