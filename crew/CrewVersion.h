// The installed crew library's version, read from its version file and kept for the life of
// the module once a non-zero value has been read.
#pragma once

// Where the download message sends the user for a current crew library.
inline constexpr char kCrewLibraryDownloadAddress[] = "https://crewkit.example.org/";

// Module-wide: 0.0 until a non-zero version has been read.
extern float cachedLibraryVersion;

// The version, or -1.0 when the version file cannot be opened (nothing is cached then).
float GetCrewLibraryVersion();
