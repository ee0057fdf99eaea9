// The scenario block's round trip, and blocks no save of the module would write.
#include "sim/text/HostLine.h"
#include "sim/validate/Checks.h"

namespace vx::validate {

namespace {

// The lines of the class's own in its vessels' blocks, without indentation or host lines.
std::vector<std::string> ownLines(const std::string& saved, const std::string& className) {
    std::vector<std::string> own;
    bool inside = false;
    for (const std::string& line : linesOf(saved)) {
        const std::string text = line.substr(std::min(line.find_first_not_of(' '), line.size()));
        HostLine host;
        std::string reason;
        if (text.starts_with("BEGIN_VESSEL ")) {
            inside = text.starts_with("BEGIN_VESSEL " + className + " ");
        } else if (inside && text != "END_VESSEL" && !text.empty() &&
                   parseHostLine(text, host, reason) == HostLineResult::NotHost) {
            own.push_back(text);
        }
    }
    return own;
}

} // namespace

Verdict checkRoundTrip(const CheckRun& run) {
    const int vessels = 1 + run.strictness / 3;
    std::string first;
    {
        CheckWorld w(run);
        for (int i = 0; i < vessels; ++i) {
            w.make("Trip " + std::to_string(i), run.className);
        }
        w.step(0.1, 10 * run.strictness);
        first = w.world.scenarioText();
    }
    {
        CheckWorld w(run);
        w.load(first);
        const std::string again = w.world.scenarioText();
        require(again == first, "saved, loaded into a fresh world and saved again: " +
                                    firstDifference(first, again));
    }
    // What no save writes: nothing, nobody's lines, and its own at the length a line may have.
    CheckWorld w(run);
    const std::vector<std::string> own = ownLines(first, run.className);
    std::vector<std::string> unknown{"VALIDATE_UNKNOWN 1 2 3", "VALIDATE_UNKNOWN", "~"};
    for (const std::string& line : own) {
        unknown.push_back(line.substr(0, line.find(' ')));
    }
    std::string blocks =
        "BEGIN_VESSEL " + run.className + " Empty\nEND_VESSEL\n" + w.blockText("Unknown", unknown);
    static constexpr const char* kTails[] = {"9", "x", " -1", " 1e999", "%s", " "};
    for (int i = 0; i < run.strictness; ++i) {
        const std::string tail = kTails[w.random() % std::size(kTails)];
        std::vector<std::string> longLines;
        for (const std::string& line : own) {
            for (const std::string& start : {line, line.substr(0, line.find(' ') + 1)}) {
                std::string longLine = start;
                while (longLine.size() + tail.size() < 4000) {
                    longLine += tail;
                }
                longLines.push_back(longLine + "!");
            }
        }
        blocks += w.blockText("Long " + std::to_string(i), longLines);
    }
    w.load(blocks);
    w.step(0.1, 3);
    w.world.scenarioText();
    return {Outcome::Pass, std::to_string(vessels) +
                               " vessels saved, loaded and saved again alike; " +
                               std::to_string(2 + run.strictness) + " hostile blocks taken"};
}

} // namespace vx::validate
