#include "crew/CrewVersion.h"

#include <cctype>
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

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

const char* SkipDigits(const char* at) {
    while (IsDigit(*at)) {
        ++at;
    }
    return at;
}

// The length of the decimal number text begins with: white space, a sign, digits with a
// decimal point among or after them, an exponent; 0 when there are no digits. The other forms
// a text-to-double conversion takes (hexadecimal, infinity, not a number) would make the
// version depend on the form of the line, so they are no number here.
std::size_t DecimalNumberLength(const char* text) {
    const char* at = text;
    while (std::isspace(static_cast<unsigned char>(*at)) != 0) {
        ++at;
    }
    if (*at == '+' || *at == '-') {
        ++at;
    }
    const char* const digits = at;
    at = SkipDigits(at);
    bool hasDigits = at != digits;
    if (*at == '.') {
        const char* const fraction = at + 1;
        at = SkipDigits(fraction);
        hasDigits = hasDigits || at != fraction;
    }
    if (!hasDigits) {
        return 0;
    }
    if (*at == 'e' || *at == 'E') {
        const char* exponent = at + 1;
        if (*exponent == '+' || *exponent == '-') {
            ++exponent;
        }
        if (IsDigit(*exponent)) {
            at = SkipDigits(exponent);
        }
    }
    return static_cast<std::size_t>(at - text);
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
    // The conversion sees the decimal number alone, or nothing at all: 0.0 (no number) stays
    // "not read yet", so the file is read again next time.
    line[DecimalNumberLength(line)] = '\0';
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
