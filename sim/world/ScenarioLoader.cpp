// Loading a parsed scenario: every class is checked before anything is created, then each
// block becomes a vessel that reads its own lines; statuses, docks and the focus follow, and
// clbkPostCreation once all exist. A failure leaves the world as empty as it was.
#include <string>
#include <vector>

#include "host/Vapi.h"
#include "sim/text/TextWords.h"
#include "sim/world/EventKinds.h"
#include "sim/world/Math3.h"
#include "sim/world/VesselCallbacks.h"
#include "sim/world/VesselState.h"
#include "sim/world/World.h"

namespace vx {

namespace {

std::string at(const std::string& source, int line, const std::string& reason) {
    return source + ":" + std::to_string(line) + ": " + reason;
}

} // namespace

void World::readBlock(VesselRecord& vessel, const VesselBlock& block, const std::string& source,
                      LoadStatus& status) {
    VxScenarioFile file;
    file.mode = VxScenarioFile::Mode::Read;
    file.vessel = &vessel;
    file.lines = &block.lines;
    file.source = source;
    file.load = &status;
    file.currentLine = block.line;
    activeLoad_ = &status;
    activeFile_ = &file;
    {
        Dispatch dispatch(*this);
        if (VESSEL2* callbacks = callbacksOf(vessel)) {
            ModuleCallScope guard(allocationsOf(vessel), GuardedCallback::LoadState);
            callbacks->clbkLoadStateEx(&file, &status);
        } else {
            char* line = nullptr;
            while (vessel.iface != nullptr && vapiReadScenario_nextline(&file, line)) {
                vessel.iface->ParseScenarioLineEx(line, &status);
            }
        }
    }
    activeLoad_ = nullptr;
    activeFile_ = nullptr;
}

bool World::loadBlocks(const ScenarioDoc& doc, std::vector<LoadStatus>& statuses,
                       std::string& error) {
    for (const VesselBlock& block : doc.vessels) {
        VesselRecord* vessel =
            newRecord(block.name, block.className, classes_.find(block.className));
        if (!initVessel(*vessel)) {
            error = at(doc.source, block.line,
                       "class " + text::quoted(block.className) + " created no vessel " +
                           text::shown(block.name));
            return false;
        }
        LoadStatus& status = statuses.emplace_back();
        status.status = statusOf(*vessel, &body_);
        readBlock(*vessel, block, doc.source, status);
        if (!status.error.empty()) {
            error = status.error;
            return false;
        }
        if (!vessel->alive) {
            error = at(doc.source, block.line, "vessel " + block.name + " vanished while loading");
            return false;
        }
        eventText_.assign(vessel->name).append(" (").append(vessel->className).append(")");
        emit(events::kVesselCreated, eventText_);
    }
    return true;
}

bool World::applyDocks(const ScenarioDoc& doc, const std::vector<LoadStatus>& statuses,
                       std::string& error) {
    for (std::size_t i = 0; i < statuses.size(); ++i) {
        VesselRecord* own = findVessel(doc.vessels[i].name);
        for (const DockLine& line : statuses[i].docks) {
            VesselRecord* other = findVessel(line.otherName);
            std::string reason;
            if (other == nullptr) {
                reason = "DOCK: no vessel named " + text::quoted(line.otherName);
            } else if (!dock(own, line.ownPort, other, line.otherPort, reason)) {
                reason = "DOCK: " + reason;
            }
            if (!reason.empty()) {
                error = at(doc.source, line.line, reason);
                return false;
            }
        }
    }
    return true;
}

bool World::load(const ScenarioDoc& doc, std::string& error) {
    if (!vessels_.empty()) {
        error = doc.source + ": the world already holds vessels";
        return false;
    }
    // Every class first, so that a missing module creates nothing at all.
    for (const VesselBlock& block : doc.vessels) {
        std::string reason;
        if (classes_.find(block.className, &reason) == nullptr) {
            error = at(doc.source, block.line, reason);
            return false;
        }
        if (block.name == doc.world.bodyName) {
            error = at(doc.source, block.line,
                       "the name " + text::quoted(block.name) + " is the reference body's");
            return false;
        }
    }
    if (!doc.world.focus.empty()) {
        bool found = false;
        for (const VesselBlock& block : doc.vessels) {
            found = found || block.name == doc.world.focus;
        }
        if (!found) {
            error = at(doc.source, doc.world.focusLine,
                       "FOCUS: no vessel named " + text::quoted(doc.world.focus));
            return false;
        }
    }

    const BodyRecord bodyBefore = body_;
    const double timeBefore = simt_;
    const int hudWidthBefore = hudWidth_;
    const int hudHeightBefore = hudHeight_;
    names_.erase(body_.name);
    body_.name = doc.world.bodyName;
    body_.radius = doc.world.bodyRadius;
    body_.gm = doc.world.bodyGm;
    names_.emplace(body_.name, &body_);
    simt_ = doc.world.time;
    setHudSize(doc.world.hudWidth, doc.world.hudHeight);

    loading_ = true;
    skipped_.clear();
    std::vector<LoadStatus> statuses;
    statuses.reserve(doc.vessels.size());
    bool ok = loadBlocks(doc, statuses, error);
    if (ok) {
        for (std::size_t i = 0; i < statuses.size(); ++i) {
            VesselRecord& vessel = *findVessel(doc.vessels[i].name);
            const LoadStatus& status = statuses[i];
            applyStatus(vessel, status.status);
            // Keep the angles as written, so that saving again writes the same numbers.
            if (status.hasOri && sameBits(vessel.rot, status.status.rrot)) {
                vessel.oriDegrees = status.oriDegrees;
                vessel.oriKnown = true;
            }
            if (status.hasAvel && sameBits(vessel.avel, status.status.vrot)) {
                vessel.avelDegrees = status.avelDegrees;
                vessel.avelKnown = true;
            }
        }
        ok = applyDocks(doc, statuses, error);
    }
    reportSkippedLines();
    if (!ok) {
        resetAfterFailedLoad();
        names_.erase(body_.name);
        body_.name = bodyBefore.name;
        body_.radius = bodyBefore.radius;
        body_.gm = bodyBefore.gm;
        names_.emplace(body_.name, &body_);
        simt_ = timeBefore;
        setHudSize(hudWidthBefore, hudHeightBefore);
        return false;
    }
    if (!vessels_.empty()) {
        VesselRecord* first =
            doc.world.focus.empty() ? vessels_.front() : findVessel(doc.world.focus);
        setFocus(first);
    }
    {
        Dispatch dispatch(*this);
        for (VesselRecord* vessel : std::vector<VesselRecord*>(vessels_)) {
            if (VESSEL2* callbacks = vessel->alive ? callbacksOf(*vessel) : nullptr) {
                callbacks->clbkPostCreation();
            }
        }
    }
    loading_ = false;
    for (const std::string& line : loadLog_) {
        log_.write(line);
    }
    loadLog_.clear();
    std::vector<PendingEvent> events;
    events.swap(loadEvents_);
    for (const PendingEvent& event : events) {
        if (events_) {
            events_(event.simt, event.kind, event.text);
        }
    }
    return true;
}

void World::resetAfterFailedLoad() {
    ++dispatchDepth_;
    for (VesselRecord* vessel : vessels_) {
        for (auto& port : vessel->docks) {
            port->mate = nullptr;
        }
    }
    unlistAll();
    --dispatchDepth_;
    destroyPending();
    focus_ = nullptr;
    loading_ = false;
    loadEvents_.clear();
    loadLog_.clear();
    groupsDirty_ = false;
    debug_.reset();
}

void World::skipLine(const std::string& where, std::string_view className, std::string_view line) {
    const std::string_view like = line.substr(0, line.find(' '));
    std::string key(className);
    key.append(1, '\0').append(like);
    SkippedLines& seen = skipped_[key];
    if (++seen.count <= kSkipsShown) {
        warn(where + ": warning: line not understood by class '" + std::string(className) +
             "' or the host, skipped: " + text::shown(line));
        return;
    }
    if (seen.source.empty()) {
        seen.source = where.substr(0, where.rfind(':'));
        seen.like = like;
    }
}

void World::reportSkippedLines() {
    for (const auto& [key, seen] : skipped_) {
        if (seen.count > kSkipsShown) {
            warn(seen.source + ": warning: " + std::to_string(seen.count - kSkipsShown) +
                 " more lines '" + seen.like + " ...' of class '" + key.substr(0, key.find('\0')) +
                 "' not understood, skipped");
        }
    }
    skipped_.clear();
}

} // namespace vx
