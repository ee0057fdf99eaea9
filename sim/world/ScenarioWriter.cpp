// Saving the world as a scenario: the world block, then each vessel's block as the vessel
// writes it, into a temporary file that replaces the target only once it is complete.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "sim/world/VesselCallbacks.h"
#include "sim/world/World.h"

#ifdef _WIN32
#include <process.h>
#define VX_PROCESS_ID _getpid()
#else
#include <unistd.h>
#define VX_PROCESS_ID getpid()
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

} // namespace

bool World::save(const std::string& path, std::string_view shownName, std::string& error) {
    namespace fs = std::filesystem;
    const std::string text = scenarioText();
    static unsigned int saveCount = 0;
    const fs::path target(path);
    fs::path temporary = target;
    temporary += ".tmp" + std::to_string(VX_PROCESS_ID) + "-" + std::to_string(++saveCount);
    std::string why;
    if (!writeWhole(temporary.string(), text, why)) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        error = "cannot save " + std::string(shownName) + ": " + why;
        return false;
    }
    std::error_code renamed;
    fs::rename(temporary, target, renamed);
    if (renamed) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        error = "cannot save " + std::string(shownName) + ": " + renamed.message();
        return false;
    }
    emit("save", shownName);
    return true;
}

} // namespace vx
