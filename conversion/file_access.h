// The few file operations the converter needs that the C++ standard library cannot do
// portably: open a source read-only and learn its true size from the open file, and
// create an output file only if no file of that name exists.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace settings {

// Opens an existing regular file for reading only. On success returns a binary
// stream and sets *size from the open file (64-bit). On failure returns nullptr and
// sets *problem to a short description ("No such file or directory", ...).
// Directories, pipes and devices are refused without blocking.
FILE* OpenSourceFile(const std::string& path, uint64_t* size, std::string* problem);

// Creates `path` for writing and returns its binary stream; fails with EEXIST in
// *errorCode if any file of that name exists, which is never emptied or replaced.
FILE* CreateNewFile(const std::string& path, int* errorCode);

std::string JoinPath(const std::string& directory, const std::string& name);

std::string SystemErrorText(int errorCode);

}  // namespace settings
