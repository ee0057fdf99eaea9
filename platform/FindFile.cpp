// Directory searches with Windows matching rules, on systems that are not Windows. The module
// searches inside its callbacks, where it must not allocate, so a search lives in one of a few
// fixed slots and reads the folder with getdents64 into the slot's own buffer (opendir would
// allocate its stream).
#include <cstddef>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/WinApi.h"

namespace {

constexpr int kSearchSlots = 4;
constexpr std::size_t kEntryBufferSize = 4096;

struct Search {
    bool inUse;
    int folder;
    // The last path component as an fnmatch pattern: '[' is literal for Windows, so it is
    // written as the bracket expression "[[]"; hence three bytes of room per character.
    char namePattern[3 * MAX_PATH];
    alignas(dirent64) char entries[kEntryBufferSize];
    std::size_t entriesEnd;
    std::size_t entriesPos;
};

Search searches[kSearchSlots];

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// Splits "config\CKITIdConfig\*.cfg" into the folder "config/CKITIdConfig" and the name
// pattern. A pattern without a folder searches the working folder.
bool splitPattern(const char* pattern, char* folder, std::size_t folderSize, char* namePattern,
                  std::size_t namePatternSize) {
    const char* lastSeparator = nullptr;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (isSeparator(*p)) {
            lastSeparator = p;
        }
    }
    const char* name = pattern;
    if (lastSeparator == nullptr) {
        std::strcpy(folder, ".");
    } else {
        std::size_t length = static_cast<std::size_t>(lastSeparator - pattern);
        if (length == 0) {
            length = 1; // "\*.cfg": the root folder
        }
        if (length >= folderSize) {
            return false;
        }
        for (std::size_t i = 0; i < length; ++i) {
            folder[i] = pattern[i] == '\\' ? '/' : pattern[i];
        }
        folder[length] = '\0';
        name = lastSeparator + 1;
    }
    if (*name == '\0') {
        return false;
    }
    std::size_t out = 0;
    for (; *name != '\0'; ++name) {
        const char* piece = *name == '[' ? "[[]" : nullptr;
        const std::size_t pieceLength = piece != nullptr ? 3 : 1;
        if (out + pieceLength >= namePatternSize) {
            return false;
        }
        if (piece != nullptr) {
            std::memcpy(namePattern + out, piece, pieceLength);
        } else {
            namePattern[out] = *name;
        }
        out += pieceLength;
    }
    namePattern[out] = '\0';
    return true;
}

bool isDirectory(int folder, const char* name, unsigned char type) {
    if (type == DT_DIR) {
        return true;
    }
    if (type != DT_UNKNOWN && type != DT_LNK) {
        return false;
    }
    struct stat info {};
    return fstatat(folder, name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

void fill(WIN32_FIND_DATAA* found, int folder, const char* name, unsigned char type) {
    found->dwFileAttributes =
        isDirectory(folder, name, type) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    std::size_t length = std::strlen(name);
    if (length >= sizeof found->cFileName) {
        length = sizeof found->cFileName - 1;
    }
    std::memcpy(found->cFileName, name, length);
    found->cFileName[length] = '\0';
}

bool nextMatch(Search& search, WIN32_FIND_DATAA* found) {
    for (;;) {
        if (search.entriesPos >= search.entriesEnd) {
            const ssize_t got = getdents64(search.folder, search.entries, sizeof search.entries);
            if (got <= 0) {
                return false;
            }
            search.entriesPos = 0;
            search.entriesEnd = static_cast<std::size_t>(got);
        }
        const char* record = search.entries + search.entriesPos;
        unsigned short recordLength = 0;
        unsigned char type = DT_UNKNOWN;
        std::memcpy(&recordLength, record + offsetof(dirent64, d_reclen), sizeof recordLength);
        std::memcpy(&type, record + offsetof(dirent64, d_type), sizeof type);
        const char* name = record + offsetof(dirent64, d_name);
        if (recordLength == 0) {
            return false;
        }
        search.entriesPos += recordLength;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
            continue;
        }
        if (fnmatch(search.namePattern, name, FNM_CASEFOLD | FNM_NOESCAPE) == 0) {
            fill(found, search.folder, name, type);
            return true;
        }
    }
}

Search* searchOf(HANDLE handle) {
    for (Search& search : searches) {
        if (handle == &search && search.inUse) {
            return &search;
        }
    }
    return nullptr;
}

void release(Search& search) {
    close(search.folder);
    search.inUse = false;
}

} // namespace

HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* found) {
    if (pattern == nullptr || found == nullptr) {
        return INVALID_HANDLE_VALUE;
    }
    Search* search = nullptr;
    for (Search& candidate : searches) {
        if (!candidate.inUse) {
            search = &candidate;
            break;
        }
    }
    if (search == nullptr) {
        return INVALID_HANDLE_VALUE;
    }
    char folder[MAX_PATH];
    if (!splitPattern(pattern, folder, sizeof folder, search->namePattern,
                      sizeof search->namePattern)) {
        return INVALID_HANDLE_VALUE;
    }
    search->folder = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (search->folder < 0) {
        return INVALID_HANDLE_VALUE;
    }
    search->inUse = true;
    search->entriesPos = 0;
    search->entriesEnd = 0;
    if (!nextMatch(*search, found)) {
        release(*search);
        return INVALID_HANDLE_VALUE;
    }
    return search;
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA* found) {
    Search* search = searchOf(handle);
    if (search == nullptr || found == nullptr) {
        return FALSE;
    }
    return nextMatch(*search, found) ? TRUE : FALSE;
}

BOOL FindClose(HANDLE handle) {
    Search* search = searchOf(handle);
    if (search == nullptr) {
        return FALSE;
    }
    release(*search);
    return TRUE;
}
