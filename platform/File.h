// File access for the module. Paths are written as the module defines them, with
// backslashes; on systems that are not Windows each backslash becomes a slash here and
// nothing else changes. Opening and closing never allocate heap memory on those systems (a
// small fixed pool of open files), so a module may use them inside any callback.
#pragma once

#include <cstddef>

struct PlatformFile;

// Opens path with a C mode ("rb", "rt", "wb"); null when it cannot be opened or when every
// slot of the pool is in use.
PlatformFile* FileOpen(const char* path, const char* mode);
// Reads up to size bytes; returns how many were read.
std::size_t FileRead(PlatformFile* file, void* buffer, std::size_t size);
// Writes size bytes; returns how many were written.
std::size_t FileWrite(PlatformFile* file, const void* data, std::size_t size);
// Reads one line as fgets does: at most capacity - 1 bytes, stopping after a newline, always
// terminated. Returns false at end of file with nothing read.
bool FileReadLine(PlatformFile* file, char* buffer, int capacity);
// Closes the file; null is ignored.
void FileClose(PlatformFile* file);
// Deletes the file; 0 on success as remove() does.
int FileRemove(const char* path);
