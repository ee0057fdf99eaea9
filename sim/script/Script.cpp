#include "sim/script/Script.h"

#include <climits>

#include "sim/text/ArgumentReader.h"
#include "sim/text/Bounds.h"
#include "sim/text/TextWords.h"

namespace vx {

namespace {

using text::quoted;
using text::WordReader;

// A comment begins at a '#' that starts the line or follows a blank; "Ship#2" is a name.
std::string_view withoutComment(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || text::isBlank(line[i - 1])))
            return line.substr(0, i);
    }
    return line;
}

// A command's arguments, with the script's own kinds: vessel names that may be quoted, the
// rest of a line, step counts and dock ports.
class Args : public text::ArgumentReader {
public:
    using ArgumentReader::ArgumentReader;

    bool rest(std::string_view field, std::string& value) {
        if (words_.empty())
            return missing(field);
        value = words_.rest();
        words_ = WordReader({});
        last_ = field;
        return true;
    }

    // A vessel name: one word, or any text between double quotes ("Big Tender").
    bool name(std::string_view field, std::string& value) {
        const std::string_view rest = words_.rest();
        if (rest.empty() || rest.front() != '"')
            return word(field, value);
        const std::size_t close = rest.find('"', 1);
        if (close == std::string_view::npos)
            return fail(std::string(field) + " has no closing '\"'");
        if (close + 1 < rest.size() && !text::isBlank(rest[close + 1]))
            return fail(std::string(field) + ": a blank must follow the closing '\"'");
        if (close == 1)
            return fail(std::string(field) + " is empty");
        value = rest.substr(1, close - 1);
        words_ = WordReader(rest.substr(close + 1));
        last_ = field;
        return true;
    }

    // A vessel name that ends the line: in double quotes, or the rest of the line as it is.
    bool lastName(std::string_view field, std::string& value) {
        if (!words_.empty() && words_.rest().front() == '"')
            return name(field, value) && end();
        return rest(field, value);
    }

    bool count(std::string_view field, long long& value) {
        return whole(field, value, bounds::kSteps);
    }

    bool port(std::string_view field, int& value) {
        constexpr bounds::Range kPort{0, INT_MAX, "0 .. 2147483647"};
        long long parsed = 0;
        if (!whole(field, parsed, kPort))
            return false;
        value = static_cast<int>(parsed);
        return true;
    }
};

constexpr const char* printChoices = "time, hud, debug, vessels, scenario, vessel or lift";

bool readPrint(WordReader& words, Command& c, std::string& reason) {
    Args args("print", words, false, reason);
    std::string what;
    if (words.empty())
        return args.fail(std::string("missing what to print (") + printChoices + ")");
    args.word("what", what);
    struct Choice {
        const char* name;
        PrintWhat what;
    };
    static constexpr Choice plain[] = {{"time", PrintWhat::Time},
                                       {"hud", PrintWhat::Hud},
                                       {"debug", PrintWhat::Debug},
                                       {"vessels", PrintWhat::Vessels},
                                       {"scenario", PrintWhat::Scenario}};
    for (const Choice& choice : plain) {
        if (what == choice.name) {
            c.print = choice.what;
            if (!words.empty())
                return args.fail("unexpected " + quoted(words.next()) + " after " + what);
            return true;
        }
    }
    if (what == "vessel") {
        c.print = PrintWhat::Vessel;
        return args.lastName("NAME", c.name);
    }
    if (what == "lift") {
        c.print = PrintWhat::Lift;
        return args.name("NAME", c.name) && args.number("DEGREES", c.degrees, bounds::kLiftAngle) &&
               args.end();
    }
    return args.fail(quoted(what) + " is not one of " + printChoices);
}

// Reads one command other than expect from a line without its comment.
bool readCommand(std::string_view line, Command& c, std::string& reason) {
    WordReader words(line);
    const std::string_view name = words.next();
    const CommandInfo* info = findCommand(name);
    if (info == nullptr || info->kind == CommandKind::Expect) {
        reason = "unknown command " + quoted(name) + " (vxsim help commands lists them)";
        return false;
    }
    c.kind = info->kind;
    switch (info->kind) {
    case CommandKind::Dt: {
        Args args(name, words, true, reason);
        return args.number("SECONDS", c.seconds, bounds::kStep) && args.end();
    }
    case CommandKind::Step: {
        Args args(name, words, true, reason);
        c.count = 1;
        return (words.empty() || args.count("N", c.count)) && args.end();
    }
    case CommandKind::Run: {
        Args args(name, words, true, reason);
        if (!args.number("SECONDS", c.seconds, bounds::kRun))
            return false;
        return (c.seconds > 0.0 || args.badLast("SECONDS", "must be greater than 0")) && args.end();
    }
    case CommandKind::Key: {
        Args args(name, words, true, reason);
        std::string key;
        if (!args.word("KEY", key))
            return false;
        if (!parseKeySpec(key, c.key))
            return args.fail(quoted(key) + " is not a key (vxsim help keys lists them)");
        return args.end();
    }
    case CommandKind::Focus:
    case CommandKind::Delete:
        return Args(name, words, true, reason).lastName("NAME", c.name);
    case CommandKind::Create: {
        Args args(name, words, false, reason);
        return args.word("CLASS", c.className) && args.lastName("NAME", c.name);
    }
    case CommandKind::Place: {
        Args args(name, words, false, reason);
        return args.name("NAME", c.name) && args.name("REF", c.other) &&
               args.number("X", c.position.x, bounds::kPosition) &&
               args.number("Y", c.position.y, bounds::kPosition) &&
               args.number("Z", c.position.z, bounds::kPosition) && args.end();
    }
    case CommandKind::Dock: {
        Args args(name, words, false, reason);
        return args.name("A", c.name) && args.port("A's PORT", c.port) && args.name("B", c.other) &&
               args.port("B's PORT", c.otherPort) && args.end();
    }
    case CommandKind::Undock: {
        Args args(name, words, false, reason);
        return args.name("A", c.name) && args.port("PORT", c.port) && args.end();
    }
    case CommandKind::Save: {
        Args args(name, words, true, reason);
        return args.word("FILE", c.file) && args.end();
    }
    case CommandKind::Print:
        return readPrint(words, c, reason);
    case CommandKind::Quit:
        return Args(name, words, true, reason).end();
    case CommandKind::Expect:
        break;
    }
    return false;
}

// expect keeps its TEXT exactly as written, '#' and trailing blanks included: it is compared
// with what a vessel drew, and a HUD line may well hold either.
bool readExpect(std::string_view line, Command& c, std::string& reason) {
    c.kind = CommandKind::Expect;
    std::string_view rest = text::trimLeft(line.substr(std::string_view("expect").size()));
    std::size_t end = 0;
    while (end < rest.size() && !text::isBlank(rest[end]))
        ++end;
    const std::string_view what = rest.substr(0, end);
    if (what == "hud")
        c.expect = ExpectWhat::Hud;
    else if (what == "debug")
        c.expect = ExpectWhat::Debug;
    else {
        reason = what.empty() ? "expect: missing hud or debug"
                              : "expect: " + quoted(what) + " is neither hud nor debug";
        return false;
    }
    // What follows the one blank after hud or debug is the text, however it begins.
    c.text = rest.size() > end ? rest.substr(end + 1) : std::string_view{};
    return true;
}

} // namespace

const CommandInfo kCommands[14] = {
    {"dt", CommandKind::Dt, "dt SECONDS", "the step length from now on (default 0.1)"},
    {"step", CommandKind::Step, "step [N]", "N steps (default 1)"},
    {"run", CommandKind::Run, "run SECONDS", "steps until that much simulated time has passed"},
    {"key", CommandKind::Key, "key [MOD+]KEY",
     "press and release KEY on the focus vessel (vxsim help keys)"},
    {"focus", CommandKind::Focus, "focus NAME", "give the focus to NAME"},
    {"place", CommandKind::Place, "place NAME REF X Y Z",
     "put NAME at (X, Y, Z) in REF's frame, with REF's velocity and orientation"},
    {"dock", CommandKind::Dock, "dock A PORT B PORT",
     "dock A's PORT to B's PORT, poses as they are"},
    {"undock", CommandKind::Undock, "undock A PORT", "undock A's PORT"},
    {"create", CommandKind::Create, "create CLASS NAME",
     "create a vessel the way a module does, at the focus vessel's state"},
    {"delete", CommandKind::Delete, "delete NAME", "delete a vessel"},
    {"save", CommandKind::Save, "save FILE",
     "save the scenario (FILE relative to the folder vxsim was started from)"},
    {"print", CommandKind::Print,
     "print time|hud|debug|vessels|scenario|vessel NAME|lift NAME DEGREES",
     "print that; lines begin with '| '"},
    {"expect", CommandKind::Expect, "expect hud|debug TEXT",
     "fail (exit status 1) unless the text last drawn on the focus HUD, or the debug line, is "
     "TEXT"},
    {"quit", CommandKind::Quit, "quit", "stop"},
};

const CommandInfo* findCommand(std::string_view name) {
    for (const CommandInfo& info : kCommands) {
        if (name == info.name)
            return &info;
    }
    return nullptr;
}

ScriptLine parseScriptLine(std::string_view raw, std::string_view source, int number, Command& out,
                           std::string& error) {
    std::string_view line = text::trimLeft(raw);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    WordReader probe(line);
    const std::string_view first = probe.next();
    if (first.empty() || first.front() == '#')
        return ScriptLine::Empty;
    Command c;
    c.line = number;
    std::string reason;
    const bool ok = first == "expect" ? readExpect(line, c, reason)
                                      : readCommand(text::trim(withoutComment(line)), c, reason);
    if (!ok) {
        error = std::string(source) + ':' + std::to_string(number) + ": " + reason;
        return ScriptLine::Refused;
    }
    out = std::move(c);
    return ScriptLine::Command;
}

bool parseScript(std::string_view text, std::string_view source, std::vector<Command>& out,
                 std::string& error) {
    out.clear();
    text::LineReader lines(text);
    std::string_view raw;
    while (lines.next(raw)) {
        Command c;
        switch (parseScriptLine(raw, source, lines.number(), c, error)) {
        case ScriptLine::Refused:
            return false;
        case ScriptLine::Command:
            out.push_back(std::move(c));
            break;
        case ScriptLine::Empty:
            break;
        }
    }
    return true;
}

std::string inlineScriptText(std::string_view commands) {
    // Every piece keeps its place, empty or not, so that "-e:3" in a message is the third
    // command as the user counts them.
    std::string out;
    for (;;) {
        const std::size_t semicolon = commands.find(';');
        out += text::trim(commands.substr(0, semicolon));
        out += '\n';
        if (semicolon == std::string_view::npos)
            break;
        commands.remove_prefix(semicolon + 1);
    }
    return out;
}

} // namespace vx
