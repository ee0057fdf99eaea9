// Scenario files as anyone may write them: each input is the whole file. What the reader
// accepts must survive being written and read again unchanged, and what a world loads from it
// must survive the host's own save and load: the second save is the first, byte for byte.
// Every class named is a plain vessel class registered from code, with a few docks, so that
// the host's own lines (POS to DOCK) are what the load reads.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "fuzz/FuzzRoot.h"
#include "fuzz/FuzzText.h"
#include "host/Vantrix.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/World.h"

namespace {

using fuzztext::Require;
using fuzztext::SameNumber;
constexpr char kSource[] = "fuzz.scn";
constexpr char kSavedSource[] = "saved.scn";

class Probe final : public VESSEL2 {
public:
    Probe(OBJHANDLE vessel, int flightModel) : VESSEL2(vessel, flightModel) {}
    void clbkSetClassCaps(FILEHANDLE /*cfg*/) override {
        SetEmptyMass(1000.0);
        CreateDock({0, 0, 10}, {0, 0, 1}, {0, 1, 0});
        CreateDock({0, 0, -10}, {0, 0, -1}, {0, 1, 0});
        CreateDock({10, 0, 0}, {1, 0, 0}, {0, 1, 0});
    }
};

VESSEL* InitProbe(OBJHANDLE vessel, int flightModel) {
    return new Probe(vessel, flightModel);
}
void ExitProbe(VESSEL* vessel) {
    delete static_cast<Probe*>(vessel);
}

// The scenario text of a parsed document, as a writer that knows only the syntax would give
// it: the world block as the host writes it, each vessel line indented.
std::string WriteDoc(const vx::ScenarioDoc& doc) {
    std::string out;
    vx::appendWorldBlock(out, doc.world);
    for (const vx::VesselBlock& block : doc.vessels) {
        out += "BEGIN_VESSEL " + block.className + ' ' + block.name + '\n';
        for (const vx::SourceLine& line : block.lines) {
            out += "  " + line.text + '\n';
        }
        out += "END_VESSEL\n";
    }
    return out;
}

bool SameWorld(const vx::WorldBlock& a, const vx::WorldBlock& b) {
    return SameNumber(a.time, b.time) && a.bodyName == b.bodyName &&
           SameNumber(a.bodyRadius, b.bodyRadius) && SameNumber(a.bodyGm, b.bodyGm) &&
           a.focus == b.focus && a.hudWidth == b.hudWidth && a.hudHeight == b.hudHeight;
}

// Equal but for line numbers, which a rewrite is free to change.
bool SameDoc(const vx::ScenarioDoc& a, const vx::ScenarioDoc& b) {
    if (!SameWorld(a.world, b.world) || a.vessels.size() != b.vessels.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.vessels.size(); ++i) {
        const vx::VesselBlock& x = a.vessels[i];
        const vx::VesselBlock& y = b.vessels[i];
        if (x.className != y.className || x.name != y.name || x.lines.size() != y.lines.size()) {
            return false;
        }
        for (std::size_t j = 0; j < x.lines.size(); ++j) {
            if (x.lines[j].text != y.lines[j].text) {
                return false;
            }
        }
    }
    return true;
}

void CheckLines(const vx::ScenarioDoc& doc) {
    int last = 0;
    for (const vx::VesselBlock& block : doc.vessels) {
        Require(!block.className.empty() && !block.name.empty(), "class and name given");
        Require(block.line > last, "blocks in file order");
        last = block.line;
        for (const vx::SourceLine& line : block.lines) {
            Require(line.number > last, "lines in file order");
            last = line.number;
            Require(!line.text.empty() && line.text.front() != '#', "no blank or comment line");
            Require(line.text.front() != ' ' && line.text.front() != '\t' &&
                        line.text.back() != ' ' && line.text.back() != '\t' &&
                        line.text.back() != '\r',
                    "line trimmed");
        }
    }
}

// A world with a plain class for every class the document names.
std::unique_ptr<vx::World> MakeWorld(const vx::ScenarioDoc& doc) {
    auto world = std::make_unique<vx::World>();
    world->setWarningSink([](std::string_view) {});
    std::set<std::string> classes;
    for (const vx::VesselBlock& block : doc.vessels) {
        classes.insert(block.className);
    }
    for (const std::string& name : classes) {
        world->classes().add(name, InitProbe, ExitProbe);
    }
    return world;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // The world's log file goes here, nowhere else.
    fuzzroot::Enter("/tmp/fuzz-scenario-reader");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vx::ScenarioDoc doc;
    std::string error;
    if (!vx::parseScenarioText(text, kSource, doc, error)) {
        fuzztext::CheckRefusal(error, kSource);
        return 0;
    }
    Require(doc.source == kSource, "source kept");
    CheckLines(doc);

    // The syntax round trip.
    const std::string written = WriteDoc(doc);
    vx::ScenarioDoc reread;
    Require(vx::parseScenarioText(written, kSavedSource, reread, error), "written text reads");
    Require(SameDoc(doc, reread), "written text reads as the same document");
    Require(WriteDoc(reread) == written, "writing is stable");

    // The host's round trip. The focus is a vessel's name or empty; the host refuses others.
    auto world = MakeWorld(doc);
    if (!world->load(doc, error)) {
        fuzztext::CheckRefusal(error, kSource);
        Require(world->vessels().empty(), "a refused load creates nothing");
        return 0;
    }
    Require(world->vessels().size() == doc.vessels.size(), "every block a vessel");
    const std::string saved = world->scenarioText();
    vx::ScenarioDoc savedDoc;
    Require(vx::parseScenarioText(saved, kSavedSource, savedDoc, error), "the save reads");
    Require(SameNumber(savedDoc.world.time, doc.world.time) &&
                savedDoc.world.bodyName == doc.world.bodyName &&
                SameNumber(savedDoc.world.bodyRadius, doc.world.bodyRadius) &&
                SameNumber(savedDoc.world.bodyGm, doc.world.bodyGm) &&
                savedDoc.world.hudWidth == doc.world.hudWidth &&
                savedDoc.world.hudHeight == doc.world.hudHeight,
            "the save keeps the world block");
    Require(doc.world.focus.empty() || savedDoc.world.focus == doc.world.focus,
            "the save keeps the focus");
    Require(savedDoc.vessels.size() == doc.vessels.size(), "the save keeps every vessel");
    world.reset();
    auto again = MakeWorld(savedDoc);
    if (!again->load(savedDoc, error)) {
        std::fprintf(stderr, "%s\n%s\n", saved.c_str(), error.c_str());
        Require(false, "the save loads");
    }
    Require(again->scenarioText() == saved, "a second save is the first");
    return 0;
}
