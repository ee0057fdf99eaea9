#include "sim/text/ScenarioText.h"

#include <unordered_set>

#include "sim/text/ArgumentReader.h"
#include "sim/text/Bounds.h"
#include "sim/text/TextWords.h"

namespace vx {

namespace {

using text::LineReader;
using text::quoted;
using text::WordReader;

// The world statements, each given at most once: a second TIME is far more likely a
// copy-and-paste slip than an intended override.
struct WorldLines {
    int time = 0;
    int body = 0;
    int focus = 0;
    int hudSize = 0;
};

bool isWorldKey(std::string_view key) {
    return key == "TIME" || key == "BODY" || key == "FOCUS" || key == "HUDSIZE";
}

// TIME's one value needs no name in a refusal; the key already says what the value is.
class WorldStatement : public text::ArgumentReader {
public:
    WorldStatement(std::string_view key, WordReader& words, std::string& reason)
        : ArgumentReader(key, words, key == "TIME", reason) {}

    bool hudSide(std::string_view field, int& value) {
        long long parsed = 0;
        if (!whole(field, parsed, bounds::kHudSide))
            return false;
        value = static_cast<int>(parsed);
        return true;
    }
};

bool once(int& seenAt, int line, std::string_view key, std::string& reason) {
    if (seenAt != 0) {
        reason = std::string(key) + " is given twice in the world block (first at line " +
                 std::to_string(seenAt) + ")";
        return false;
    }
    seenAt = line;
    return true;
}

bool readWorldStatement(std::string_view key, WordReader& words, int line, WorldBlock& world,
                        WorldLines& seen, std::string& reason) {
    WorldStatement s(key, words, reason);
    if (key == "TIME") {
        return once(seen.time, line, key, reason) && s.number("value", world.time, bounds::kTime) &&
               s.end();
    }
    if (key == "BODY") {
        if (!once(seen.body, line, key, reason) || !s.word("name", world.bodyName))
            return false;
        return s.number("radius", world.bodyRadius, bounds::kBodyRadius) &&
               s.number("gm", world.bodyGm, bounds::kBodyGm) && s.end();
    }
    if (key == "FOCUS") {
        if (!once(seen.focus, line, key, reason))
            return false;
        if (words.empty())
            return s.fail("missing vessel name");
        world.focus = words.rest();
        world.focusLine = line;
        return true;
    }
    if (key == "HUDSIZE") {
        return once(seen.hudSize, line, key, reason) && s.hudSide("width", world.hudWidth) &&
               s.hudSide("height", world.hudHeight) && s.end();
    }
    reason = "unknown statement " + quoted(key) + " in the world block";
    return false;
}

std::string unclosedVessel(const VesselBlock& block) {
    return "BEGIN_VESSEL " + block.className + ' ' + block.name + " has no END_VESSEL";
}

class ScenarioReader {
public:
    ScenarioReader(std::string_view source, ScenarioDoc& doc, std::string& error)
        : source_(source), doc_(doc), error_(error) {}

    bool read(std::string_view text) {
        doc_ = ScenarioDoc{};
        doc_.source = source_;
        LineReader lines(text);
        std::string_view raw;
        while (lines.next(raw)) {
            // Names and lines reach vessels, and come back in saves, as C texts: a NUL would
            // cut them there, and a vessel would be known by two names.
            if (raw.find('\0') != std::string_view::npos)
                return fail(lines.number(), "a NUL byte in the line");
            if (raw.size() > bounds::kScenarioText.lineBytes + (raw.ends_with('\r') ? 1 : 0))
                return fail(lines.number(), "the line is longer than " +
                                                std::to_string(bounds::kScenarioText.lineBytes) +
                                                " bytes, the most a scenario line may hold");
            const std::string_view line = text::trim(raw);
            if (line.empty() || line.front() == '#')
                continue;
            if (!statement(line, lines.number()))
                return false;
        }
        if (state_ == State::Vessel)
            return fail(openLine_, unclosedVessel(doc_.vessels.back()));
        if (state_ == State::World)
            return fail(openLine_, "BEGIN_WORLD has no END_WORLD");
        return true;
    }

private:
    enum class State { Outside, World, Vessel };

    bool statement(std::string_view line, int number) {
        WordReader words(line);
        const std::string_view key = words.next();
        const bool begins = key == "BEGIN_VESSEL" || key == "BEGIN_WORLD";
        switch (state_) {
        case State::Vessel:
            if (begins)
                return fail(openLine_, unclosedVessel(doc_.vessels.back()));
            if (key == "END_VESSEL")
                return close(words, key, number);
            doc_.vessels.back().lines.push_back(SourceLine{number, std::string(line)});
            return true;
        case State::World: {
            if (begins)
                return fail(openLine_, "BEGIN_WORLD has no END_WORLD");
            if (key == "END_WORLD")
                return close(words, key, number);
            std::string reason;
            if (!readWorldStatement(key, words, number, doc_.world, seen_, reason))
                return fail(number, reason);
            return true;
        }
        case State::Outside:
            break;
        }
        if (key == "BEGIN_WORLD")
            return beginWorld(words, number);
        if (key == "BEGIN_VESSEL")
            return beginVessel(words, number);
        if (key == "END_WORLD" || key == "END_VESSEL")
            return fail(number, std::string(key) + " without BEGIN_" + std::string(key.substr(4)));
        if (isWorldKey(key))
            return fail(number, std::string(key) + " outside the world block");
        return fail(number, "unknown statement " + quoted(key) + " outside a vessel block");
    }

    bool close(WordReader& words, std::string_view key, int number) {
        if (!words.empty())
            return fail(number, std::string(key) + ": unexpected " + quoted(words.next()));
        state_ = State::Outside;
        return true;
    }

    bool beginWorld(WordReader& words, int number) {
        if (worldLine_ != 0)
            return fail(number, "a second world block (the first begins at line " +
                                    std::to_string(worldLine_) + ")");
        if (!words.empty())
            return fail(number, "BEGIN_WORLD: unexpected " + quoted(words.next()));
        state_ = State::World;
        openLine_ = worldLine_ = number;
        return true;
    }

    bool beginVessel(WordReader& words, int number) {
        VesselBlock block;
        block.className = words.next();
        block.name = words.rest();
        block.line = number;
        if (block.className.empty())
            return fail(number, "BEGIN_VESSEL: missing class and vessel name");
        if (block.name.empty())
            return fail(number, "BEGIN_VESSEL " + block.className + ": missing vessel name");
        if (!names_.insert(block.name).second)
            return fail(number, "vessel name " + quoted(block.name) + " is used twice");
        if (doc_.vessels.size() == bounds::kVessels)
            return fail(number, "more than " + std::to_string(bounds::kVessels) +
                                    " vessels, the most a scenario may hold");
        doc_.vessels.push_back(std::move(block));
        state_ = State::Vessel;
        openLine_ = number;
        return true;
    }

    bool fail(int line, const std::string& reason) {
        error_ = source_;
        error_ += ':';
        error_ += std::to_string(line);
        error_ += ": ";
        error_ += reason;
        return false;
    }

    std::string_view source_;
    ScenarioDoc& doc_;
    std::string& error_;
    State state_ = State::Outside;
    int openLine_ = 0;
    int worldLine_ = 0;
    WorldLines seen_;
    std::unordered_set<std::string> names_;
};

} // namespace

bool parseScenarioText(std::string_view text, std::string_view source, ScenarioDoc& doc,
                       std::string& error) {
    return ScenarioReader(source, doc, error).read(text);
}

void appendWorldBlock(std::string& out, const WorldBlock& world) {
    out += "BEGIN_WORLD\n  TIME ";
    appendNumber(out, world.time);
    out += "\n  BODY ";
    out += world.bodyName;
    out += ' ';
    appendNumber(out, world.bodyRadius);
    out += ' ';
    appendNumber(out, world.bodyGm);
    out += '\n';
    if (!world.focus.empty()) {
        out += "  FOCUS ";
        out += world.focus;
        out += '\n';
    }
    out += "  HUDSIZE ";
    out += std::to_string(world.hudWidth);
    out += ' ';
    out += std::to_string(world.hudHeight);
    out += "\nEND_WORLD\n";
}

} // namespace vx
