#include "crew/CrewManager.h"
#include "host/CrewKit.h"
#include "platform/File.h"

int32_t CrewLibraryPresent() {
    // Only whether the file can be opened counts; its content is the runtime's business.
    PlatformFile* file = FileOpen(crewkit::kModuleFile, "rb");
    if (file == nullptr) {
        return -999;
    }
    FileClose(file);
    return 1;
}

void SanitizeCrewName(char* name) {
    if (name == nullptr) {
        return;
    }
    for (char* c = name; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        const bool digit = byte >= '0' && byte <= '9';
        const bool letter = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
        if (!digit && !letter) {
            *c = ' ';
        }
    }
}
