// Saving the world as a scenario: the world block, then each vessel's block as the vessel
// writes it, into a temporary file that replaces the target only once it is complete.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "sim/text/HostLine.h"
#include "sim/world/EventKinds.h"
#include "sim/world/VesselCallbacks.h"
#include "sim/world/World.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#define VX_PROCESS_ID _getpid()
#define VX_MAY_WRITE(path) (_access((path), 2) == 0)
#else
#include <unistd.h>
#define VX_PROCESS_ID getpid()
#define VX_MAY_WRITE(path) (access((path), W_OK) == 0)
#endif

namespace vx {

void World::writeBlock(VesselRecord& vessel, std::string& out) {
    out.append("BEGIN_VESSEL ").append(vessel.className).append(" ").append(vessel.name);
    out.push_back('\n');
    VxScenarioFile file;
    file.mode = VxScenarioFile::Mode::Write;
    file.vessel = &vessel;
    file.out = &out;
    {
        Dispatch dispatch(*this);
        if (VESSEL2* callbacks = callbacksOf(vessel)) {
            ModuleCallScope guard(allocationsOf(vessel), GuardedCallback::SaveState);
            callbacks->clbkSaveState(&file);
        } else if (vessel.iface != nullptr) {
            vessel.iface->SaveDefaultState(&file);
        }
    }
    out.append("END_VESSEL\n");
}

std::string World::scenarioText() {
    WorldBlock world;
    world.time = simt_;
    world.bodyName = body_.name;
    world.bodyRadius = body_.radius;
    world.bodyGm = body_.gm;
    world.focus = focus_ != nullptr ? focus_->name : std::string();
    world.hudWidth = hudWidth_;
    world.hudHeight = hudHeight_;
    std::string out;
    appendWorldBlock(out, world);
    for (VesselRecord* vessel : std::vector<VesselRecord*>(vessels_)) {
        if (vessel->alive) {
            writeBlock(*vessel, out);
        }
    }
    return out;
}

namespace {

bool writeWhole(const std::string& path, const std::string& text, std::string& why) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        why = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        why = std::strerror(written ? errno : writeErrno);
        return false;
    }
    return true;
}

// What the host writes it must be able to read again: the scenario's structure and bounds, and
// every line of its own in each block. A vessel's own lines are the vessel's to read.
bool readsBack(const std::string& text, std::string_view shownName, std::string& why) {
    ScenarioDoc doc;
    if (!parseScenarioText(text, shownName, doc, why)) {
        return false;
    }
    for (const VesselBlock& block : doc.vessels) {
        for (const SourceLine& line : block.lines) {
            HostLine parsed;
            std::string reason;
            if (parseHostLine(line.text, parsed, reason) == HostLineResult::Bad) {
                why = std::string(shownName) + ":" + std::to_string(line.number) + ": " + reason;
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool World::save(const std::string& path, std::string_view shownName, std::string& error) {
    namespace fs = std::filesystem;
    const std::string text = scenarioText();
    const fs::path target(path);
    std::string why;
    if (!readsBack(text, shownName, why)) {
        error = "cannot save " + std::string(shownName) +
                ": what would be written could not be read again (" + why + "); nothing written";
        return false;
    }
    std::error_code noStatus;
    const fs::file_status existing = fs::status(target, noStatus);
    if (fs::is_regular_file(existing) && !VX_MAY_WRITE(target.string().c_str())) {
        error = "cannot save " + std::string(shownName) + ": " + std::strerror(errno) +
                " (the file is kept as it was)";
        return false;
    }
    static unsigned int saveCount = 0;
    fs::path temporary = target;
    temporary += ".tmp" + std::to_string(VX_PROCESS_ID) + "-" + std::to_string(++saveCount);
    if (!writeWhole(temporary.string(), text, why)) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        error = "cannot save " + std::string(shownName) + ": " + why;
        return false;
    }
    std::error_code renamed;
    if (fs::is_regular_file(existing)) {
        // The replaced file's permissions stay what its owner made them.
        fs::permissions(temporary, existing.permissions(), renamed);
    }
    if (!renamed) {
        fs::rename(temporary, target, renamed);
    }
    if (renamed) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        error = "cannot save " + std::string(shownName) + ": " + renamed.message();
        return false;
    }
    emit(events::kSave, shownName);
    return true;
}

} // namespace vx
