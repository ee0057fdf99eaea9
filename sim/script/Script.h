// The vxsim script language: one command a line, '#' starts a comment. A script is read and
// checked whole before anything runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/Geometry.h"
#include "sim/text/KeyName.h"

namespace vx {

enum class CommandKind {
    Dt,
    Step,
    Run,
    Key,
    Focus,
    Place,
    Dock,
    Undock,
    Create,
    Delete,
    Save,
    Print,
    Expect,
    Quit
};
enum class PrintWhat { Time, Hud, Debug, Vessels, Scenario, Vessel, Lift };
enum class ExpectWhat { Hud, Debug };

struct Command {
    CommandKind kind = CommandKind::Quit;
    int line = 0;          // 1-based line of the command in its source
    double seconds = 0.0;  // dt, run: seconds (dt >= 0, run > 0)
    long long count = 1;   // step: number of steps, >= 0
    KeySpec key;           // key
    std::string name;      // focus, delete, create, place, print vessel/lift, dock A, undock A
    std::string other;     // place: REF; dock: B
    std::string className; // create: CLASS
    std::string file;      // save: FILE as written
    std::string text;      // expect: TEXT, the rest of the line as written (may be empty)
    int port = 0;          // dock, undock: A's port
    int otherPort = 0;     // dock: B's port
    VECTOR3 position{};    // place: X Y Z in REF's frame
    double degrees = 0.0;  // print lift: angle of attack
    PrintWhat print = PrintWhat::Time;
    ExpectWhat expect = ExpectWhat::Hud;
};

// The commands as the reader knows them and `vxsim help commands` shows them.
struct CommandInfo {
    const char* name;  // the first word
    CommandKind kind;  // what the reader makes of it
    const char* usage; // the command with its arguments
    const char* does;  // what it does
};
extern const CommandInfo kCommands[14];
// The command of that first word, or null.
const CommandInfo* findCommand(std::string_view name);

// Reads a whole script. On failure returns false with error "SOURCE:LINE: reason" and
// leaves out unspecified. A vessel name is one word, or any text in double quotes; as the last
// argument (focus, delete, create, print vessel) it may also be the rest of the line.
bool parseScript(std::string_view text, std::string_view source, std::vector<Command>& out,
                 std::string& error);

// Reads one line of a script, line number number of source: a command, nothing (a blank or
// comment line), or a refusal with error "SOURCE:LINE: reason".
enum class ScriptLine { Command, Empty, Refused };
ScriptLine parseScriptLine(std::string_view line, std::string_view source, int number, Command& out,
                           std::string& error);

// The commands of -e 'CMD; CMD' as script text, one command a line.
std::string inlineScriptText(std::string_view commands);

} // namespace vx
