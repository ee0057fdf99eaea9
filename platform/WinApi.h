// The handful of Windows types and calls the module uses. On Windows this is <windows.h>
// itself; elsewhere the platform layer supplies the same names over POSIX, so that the module
// sources compile unchanged on both.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cstdint>

using BOOL = int;            // Windows truth value: nonzero is true
using DWORD = std::uint32_t; // 32-bit unsigned, as on Windows
using HANDLE = void*;        // opaque handle of a search or a file
using LPVOID = void*;        // untyped pointer
using HINSTANCE = void*;     // a loaded library: its own dlopen handle
using HMODULE = HINSTANCE;   // same thing under its other name
using FARPROC = void (*)();  // an export found by name

struct HudSurface;       // text surface the host owns for one HUD frame
using HDC = HudSurface*; // device context: what TextOutA draws into

#define WINAPI
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#define MAX_PATH 260
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)))

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

#define FILE_ATTRIBUTE_DIRECTORY 0x10
#define FILE_ATTRIBUTE_NORMAL 0x80

// One entry of a directory search; only the name and whether it is a folder are filled.
struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;   // FILE_ATTRIBUTE_DIRECTORY or FILE_ATTRIBUTE_NORMAL
    char cFileName[MAX_PATH]; // the entry's name without folder, zero-terminated, cut to fit
};

// Starts a search for a path whose last component may hold the wildcards '*' and '?',
// matched without regard to case as Windows does. Returns INVALID_HANDLE_VALUE when nothing
// matches or the folder cannot be read.
HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* found);
// Next match of the search; FALSE when there is none.
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* found);
// Ends a search started by FindFirstFileA.
BOOL FindClose(HANDLE search);

// Draws length characters of text at (x, y) on the surface.
BOOL TextOutA(HDC dc, int x, int y, const char* text, int length);

// Looks an export up by name in a loaded library; null when it has none.
FARPROC GetProcAddress(HMODULE module, const char* name);
#endif
