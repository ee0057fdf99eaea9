#include "crew/CrewVersion.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "crew/CrewManager.h"
#include "host/CrewKit.h"
#include "platform/File.h"

float cachedLibraryVersion = 0.0f;

namespace {

// Only this much of the version file's first line counts.
constexpr int kVersionLineSize = 14;
// The countdown's last seconds blink instead of alternating.
constexpr double kBlinkSeconds = 5.0;
constexpr double kAlternationPeriod = 15.0; // seconds of system time
constexpr double kDownloadShare = 10.0;     // first seconds of each period: the download text
constexpr double kBlinkVisibleShare = 0.75; // of each blinking second, the text is shown
constexpr double kSequenceEnded = -1.0;

constexpr char kNotInitialisedText[] = "%s ERROR CKIT 2.0 not properly initialised in your code.";
constexpr char kDownloadText[] =
    "%s require \"Crew Kit\" ver 2.0 or higher. Download at %s (%0.0f)";
constexpr char kPushFurtherText[] = "CKIT 2.0 will push this addon one step further. (%0.0f)";
constexpr char kDontMissText[] = "Don't Miss Crew Kit 2.0 for Vantrix (CKIT) (%0.0f)";
constexpr char kOutdatedText[] = "Your version of CKIT is outdated (%0.0f)";

// To single precision without leaving float's range: a value beyond it becomes infinity of
// its sign, as the hardware would give, and not a number counts as no number at all.
float ToSingle(double value) {
    if (std::isnan(value)) {
        return 0.0f;
    }
    if (value > FLT_MAX) {
        return HUGE_VALF;
    }
    if (value < -FLT_MAX) {
        return -HUGE_VALF;
    }
    return static_cast<float>(value);
}

} // namespace

float GetCrewLibraryVersion() {
    if (cachedLibraryVersion != 0.0f) {
        return cachedLibraryVersion;
    }
    PlatformFile* file = FileOpen(crewkit::kVersionFile, "rt");
    if (file == nullptr) {
        // Nothing is cached, so a runtime installed later is still seen.
        return -1.0f;
    }
    char line[kVersionLineSize] = {};
    FileReadLine(file, line, kVersionLineSize);
    // 0.0 (no number) stays "not read yet", so the file is read again next time.
    cachedLibraryVersion = ToSingle(std::strtod(line, nullptr));
    FileClose(file);
    return cachedLibraryVersion;
}

void CrewManager::ShowVersionWarning(const char* addonName) {
    char* const line = vapiDebugString();
    if (line == nullptr) {
        return;
    }
    const char* const name = addonName != nullptr ? addonName : "";
    const std::size_t room = VAPI_DEBUG_STRING_SIZE;
    if (readyFlags != kCrewReady) {
        // Every step, so the line stays for as long as the crew manager is unusable.
        std::snprintf(line, room, kNotInitialisedText, name);
        return;
    }
    const double now = vapiGetSysTime();
    const double remaining = warningUntil - now;
    const double shown = ToSingle(remaining);
    if (remaining > kBlinkSeconds) {
        if (std::fmod(now, kAlternationPeriod) < kDownloadShare) {
            std::snprintf(line, room, kDownloadText, name, kCrewLibraryDownloadAddress, shown);
        } else if (libraryOutdated == 0) {
            std::snprintf(line, room, kPushFurtherText, shown);
        } else {
            std::snprintf(line, room, kOutdatedText, shown);
        }
    } else {
        if (std::fmod(now, 1.0) >= kBlinkVisibleShare) {
            line[0] = '\0';
        } else if (libraryOutdated == 0) {
            std::snprintf(line, room, kDontMissText, shown);
        } else {
            std::snprintf(line, room, kOutdatedText, shown);
        }
    }
    if (warningUntil < now) {
        // Whatever was just written goes; the sequence never runs again until re-armed.
        line[0] = '\0';
        warningUntil = kSequenceEnded;
    }
}
