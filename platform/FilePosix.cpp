// The module's file access on systems that are not Windows. The module reads and writes files
// inside its callbacks, where it must not allocate, so open files live in a small fixed pool
// and each has its own read buffer; paths are converted in a bounded local buffer.
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "platform/File.h"
#include "platform/WinApi.h"

struct PlatformFile {
    bool inUse;
    int descriptor;
    char buffer[512];      // bytes read ahead for FileReadLine, consumed first by every read
    std::size_t bufferPos; // next unread byte of buffer
    std::size_t bufferEnd; // one past the last valid byte of buffer
};

namespace {

constexpr int kPoolSize = 8;

PlatformFile pool[kPoolSize];

// Backslashes become slashes; false when the path does not fit.
bool nativePath(const char* path, char (&native)[MAX_PATH]) {
    std::size_t i = 0;
    for (; path[i] != '\0'; ++i) {
        if (i + 1 >= sizeof native) {
            return false;
        }
        native[i] = path[i] == '\\' ? '/' : path[i];
    }
    native[i] = '\0';
    return true;
}

bool openFlags(const char* mode, int& flags) {
    if (std::strcmp(mode, "rb") == 0 || std::strcmp(mode, "rt") == 0) {
        flags = O_RDONLY;
        return true;
    }
    if (std::strcmp(mode, "wb") == 0) {
        flags = O_WRONLY | O_CREAT | O_TRUNC;
        return true;
    }
    return false;
}

bool isOpen(const PlatformFile* file) {
    return file != nullptr && file >= pool && file < pool + kPoolSize && file->inUse;
}

// Reads once into the file's buffer; false at end of file or on an error.
bool refill(PlatformFile& file) {
    ssize_t got = 0;
    do {
        got = read(file.descriptor, file.buffer, sizeof file.buffer);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) {
        return false;
    }
    file.bufferPos = 0;
    file.bufferEnd = static_cast<std::size_t>(got);
    return true;
}

} // namespace

PlatformFile* FileOpen(const char* path, const char* mode) {
    int flags = 0;
    char native[MAX_PATH];
    if (path == nullptr || mode == nullptr || !openFlags(mode, flags) ||
        !nativePath(path, native)) {
        return nullptr;
    }
    PlatformFile* file = nullptr;
    for (PlatformFile& candidate : pool) {
        if (!candidate.inUse) {
            file = &candidate;
            break;
        }
    }
    if (file == nullptr) {
        return nullptr;
    }
    const int descriptor = open(native, flags | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        return nullptr;
    }
    file->inUse = true;
    file->descriptor = descriptor;
    file->bufferPos = 0;
    file->bufferEnd = 0;
    return file;
}

std::size_t FileRead(PlatformFile* file, void* buffer, std::size_t size) {
    if (!isOpen(file) || buffer == nullptr) {
        return 0;
    }
    char* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    const std::size_t buffered = file->bufferEnd - file->bufferPos;
    if (buffered > 0) {
        done = buffered < size ? buffered : size;
        std::memcpy(out, file->buffer + file->bufferPos, done);
        file->bufferPos += done;
    }
    while (done < size) {
        const ssize_t got = read(file->descriptor, out + done, size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::size_t FileWrite(PlatformFile* file, const void* data, std::size_t size) {
    if (!isOpen(file) || data == nullptr) {
        return 0;
    }
    const char* in = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = write(file->descriptor, in + done, size - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            break;
        }
        done += static_cast<std::size_t>(put);
    }
    return done;
}

bool FileReadLine(PlatformFile* file, char* buffer, int capacity) {
    if (buffer == nullptr || capacity < 1) {
        return false;
    }
    buffer[0] = '\0';
    if (!isOpen(file)) {
        return false;
    }
    if (file->bufferPos >= file->bufferEnd && !refill(*file)) {
        return false;
    }
    const std::size_t room = static_cast<std::size_t>(capacity) - 1;
    std::size_t length = 0;
    while (length < room) {
        if (file->bufferPos >= file->bufferEnd && !refill(*file)) {
            break;
        }
        const char c = file->buffer[file->bufferPos++];
        buffer[length++] = c;
        if (c == '\n') {
            break;
        }
    }
    buffer[length] = '\0';
    return true;
}

void FileClose(PlatformFile* file) {
    if (!isOpen(file)) {
        return;
    }
    close(file->descriptor);
    file->inUse = false;
}

int FileRemove(const char* path) {
    char native[MAX_PATH];
    if (path == nullptr || !nativePath(path, native)) {
        return -1;
    }
    return unlink(native) == 0 ? 0 : -1;
}
