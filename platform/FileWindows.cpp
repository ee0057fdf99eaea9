// The module's file access on Windows: the C runtime's streams, which take backslash paths
// as they are. A PlatformFile is the stream itself.
#include <cstdio>
#include <cstring>

#include "platform/File.h"

namespace {

bool knownMode(const char* mode) {
    return std::strcmp(mode, "rb") == 0 || std::strcmp(mode, "rt") == 0 ||
           std::strcmp(mode, "wb") == 0;
}

std::FILE* streamOf(PlatformFile* file) {
    return reinterpret_cast<std::FILE*>(file);
}

} // namespace

PlatformFile* FileOpen(const char* path, const char* mode) {
    if (path == nullptr || mode == nullptr || !knownMode(mode)) {
        return nullptr;
    }
    return reinterpret_cast<PlatformFile*>(std::fopen(path, mode));
}

std::size_t FileRead(PlatformFile* file, void* buffer, std::size_t size) {
    if (file == nullptr || buffer == nullptr) {
        return 0;
    }
    return std::fread(buffer, 1, size, streamOf(file));
}

std::size_t FileWrite(PlatformFile* file, const void* data, std::size_t size) {
    if (file == nullptr || data == nullptr) {
        return 0;
    }
    return std::fwrite(data, 1, size, streamOf(file));
}

bool FileReadLine(PlatformFile* file, char* buffer, int capacity) {
    if (buffer == nullptr || capacity < 1) {
        return false;
    }
    buffer[0] = '\0';
    if (file == nullptr) {
        return false;
    }
    return std::fgets(buffer, capacity, streamOf(file)) != nullptr;
}

void FileClose(PlatformFile* file) {
    if (file != nullptr) {
        std::fclose(streamOf(file));
    }
}

int FileRemove(const char* path) {
    return path == nullptr ? -1 : std::remove(path);
}
