#include "crew/CrewExchange.h"

#include "platform/File.h"

CrewExchangeRecord crewExchangeBuffer;

bool WriteCrewExchangeFile(const char* path) {
    PlatformFile* file = FileOpen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = FileWrite(file, &crewExchangeBuffer, sizeof crewExchangeBuffer) ==
                         sizeof crewExchangeBuffer;
    FileClose(file);
    return written;
}

bool ReadCrewExchangeFile(const char* path) {
    PlatformFile* file = FileOpen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    // Read aside first: a short file must not leave half a record in the buffer.
    CrewExchangeRecord record;
    const bool complete = FileRead(file, &record, sizeof record) == sizeof record;
    FileClose(file);
    if (complete) {
        crewExchangeBuffer = record;
    }
    return complete;
}
