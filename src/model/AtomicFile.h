#pragma once
// Writing a whole file so that a failure never leaves a half-written or destroyed file behind.
#include <string>

// Writes bytes to a temporary file in the folder of path, flushes it to the disk and renames it
// over path (an atomic replacement on POSIX file systems). An existing file keeps its permission
// bits; a symbolic link is followed, so the file it points to is replaced. Throws TFileIoError
// when the file cannot be created, written or renamed; the previous file is then untouched and
// the temporary file removed.
void WriteFileAtomically(const std::string& path, const std::string& bytes);
