// vxsim scripts as anyone may type them: each input is a whole script, and also the text of
// one -e argument. What the reader accepts, written back one command a line in its plainest
// form, must read as the same commands; numbers must come back to the same bits.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzText.h"
#include "sim/script/Script.h"
#include "sim/text/NumberText.h"

namespace {

using fuzztext::Require;
using fuzztext::SameNumber;
using vx::Command;
using vx::CommandKind;
using vx::PrintWhat;
constexpr char kSource[] = "fuzz.vxs";

const char* PrintName(PrintWhat what) {
    switch (what) {
    case PrintWhat::Time:
        return "time";
    case PrintWhat::Hud:
        return "hud";
    case PrintWhat::Debug:
        return "debug";
    case PrintWhat::Vessels:
        return "vessels";
    case PrintWhat::Scenario:
        return "scenario";
    case PrintWhat::Vessel:
        return "vessel";
    case PrintWhat::Lift:
        return "lift";
    }
    return "?";
}

std::string Number(double value) {
    return vx::formatNumber(value);
}

// One command as a script line: every argument in the order the reader takes them.
std::string WriteCommand(const Command& c) {
    switch (c.kind) {
    case CommandKind::Dt:
        return "dt " + Number(c.seconds);
    case CommandKind::Step:
        return "step " + std::to_string(c.count);
    case CommandKind::Run:
        return "run " + Number(c.seconds);
    case CommandKind::Key:
        return "key " + c.key.text;
    case CommandKind::Focus:
        return "focus " + c.name;
    case CommandKind::Delete:
        return "delete " + c.name;
    case CommandKind::Create:
        return "create " + c.className + ' ' + c.name;
    case CommandKind::Place:
        return "place " + c.name + ' ' + c.other + ' ' + Number(c.position.x) + ' ' +
               Number(c.position.y) + ' ' + Number(c.position.z);
    case CommandKind::Dock:
        return "dock " + c.name + ' ' + std::to_string(c.port) + ' ' + c.other + ' ' +
               std::to_string(c.otherPort);
    case CommandKind::Undock:
        return "undock " + c.name + ' ' + std::to_string(c.port);
    case CommandKind::Save:
        return "save " + c.file;
    case CommandKind::Print:
        if (c.print == PrintWhat::Vessel) {
            return "print vessel " + c.name;
        }
        if (c.print == PrintWhat::Lift) {
            return "print lift " + c.name + ' ' + Number(c.degrees);
        }
        return std::string("print ") + PrintName(c.print);
    case CommandKind::Expect: {
        // A CR before the line's end is taken as a Windows line end, so a text that itself
        // ends in one is written with a second.
        const bool endsInCr = !c.text.empty() && c.text.back() == '\r';
        return std::string("expect ") + (c.expect == vx::ExpectWhat::Hud ? "hud " : "debug ") +
               c.text + (endsInCr ? "\r" : "");
    }
    case CommandKind::Quit:
        return "quit";
    }
    return "";
}

bool SameKey(const vx::KeySpec& a, const vx::KeySpec& b) {
    return a.code == b.code && a.leftShift == b.leftShift && a.rightShift == b.rightShift &&
           a.leftCtrl == b.leftCtrl && a.rightCtrl == b.rightCtrl && a.text == b.text;
}

// Equal in every field the command's kind uses.
bool SameCommand(const Command& a, const Command& b) {
    if (a.kind != b.kind) {
        return false;
    }
    switch (a.kind) {
    case CommandKind::Dt:
    case CommandKind::Run:
        return SameNumber(a.seconds, b.seconds);
    case CommandKind::Step:
        return a.count == b.count;
    case CommandKind::Key:
        return SameKey(a.key, b.key);
    case CommandKind::Focus:
    case CommandKind::Delete:
        return a.name == b.name;
    case CommandKind::Create:
        return a.className == b.className && a.name == b.name;
    case CommandKind::Place:
        return a.name == b.name && a.other == b.other && SameNumber(a.position.x, b.position.x) &&
               SameNumber(a.position.y, b.position.y) && SameNumber(a.position.z, b.position.z);
    case CommandKind::Dock:
        return a.name == b.name && a.port == b.port && a.other == b.other &&
               a.otherPort == b.otherPort;
    case CommandKind::Undock:
        return a.name == b.name && a.port == b.port;
    case CommandKind::Save:
        return a.file == b.file;
    case CommandKind::Print:
        return a.print == b.print && (a.print != PrintWhat::Vessel || a.name == b.name) &&
               (a.print != PrintWhat::Lift ||
                (a.name == b.name && SameNumber(a.degrees, b.degrees)));
    case CommandKind::Expect:
        return a.expect == b.expect && a.text == b.text;
    case CommandKind::Quit:
        return true;
    }
    return false;
}

void CheckCommand(const Command& c) {
    switch (c.kind) {
    case CommandKind::Dt:
        Require(c.seconds >= 0.0, "dt not negative");
        break;
    case CommandKind::Run:
        Require(c.seconds > 0.0, "run longer than nothing");
        break;
    case CommandKind::Step:
        Require(c.count >= 0, "step count not negative");
        break;
    case CommandKind::Dock:
        Require(c.port >= 0 && c.otherPort >= 0, "ports not negative");
        Require(!c.name.empty() && !c.other.empty(), "both vessels named");
        break;
    case CommandKind::Undock:
        Require(c.port >= 0 && !c.name.empty(), "undock names a vessel and a port");
        break;
    case CommandKind::Focus:
    case CommandKind::Delete:
    case CommandKind::Create:
        Require(!c.name.empty() && c.name.front() != ' ' && c.name.back() != ' ',
                "a name, trimmed");
        break;
    case CommandKind::Key: {
        vx::KeySpec again;
        Require(vx::parseKeySpec(c.key.text, again) && SameKey(again, c.key),
                "the key reads back from its text");
        break;
    }
    default:
        break;
    }
}

void CheckScript(std::string_view text, bool inlined) {
    std::vector<Command> commands;
    std::string error;
    if (!vx::parseScript(text, kSource, commands, error)) {
        fuzztext::CheckRefusal(error, kSource);
        return;
    }
    int last = 0;
    std::string written;
    for (const Command& c : commands) {
        Require(c.line > last, "commands in line order");
        last = c.line;
        CheckCommand(c);
        written += WriteCommand(c);
        written += '\n';
    }
    std::vector<Command> reread;
    if (!vx::parseScript(written, kSource, reread, error)) {
        std::fprintf(stderr, "%s\n%s\n", written.c_str(), error.c_str());
        Require(false, inlined ? "written -e script reads" : "written script reads");
    }
    Require(reread.size() == commands.size(), "as many commands again");
    for (std::size_t i = 0; i < commands.size(); ++i) {
        Require(SameCommand(commands[i], reread[i]), "the same command again");
        Require(reread[i].line == static_cast<int>(i) + 1, "one command a line");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckScript(text, false);

    // As one -e argument: each piece keeps its place, so there is a line per semicolon and one.
    const std::string inlined = vx::inlineScriptText(text);
    std::size_t pieces = 1;
    for (const char c : text) {
        pieces += c == ';' ? 1 : 0;
    }
    std::size_t lines = 0;
    for (const char c : inlined) {
        lines += c == '\n' ? 1 : 0;
    }
    Require(inlined.find(';') == std::string::npos && !inlined.empty() && inlined.back() == '\n',
            "-e text without semicolons, ending a line");
    if (text.find('\n') == std::string_view::npos) {
        Require(lines == pieces, "a line per piece");
    }
    CheckScript(inlined, true);
    return 0;
}
