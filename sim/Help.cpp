#include "sim/Help.h"

#include <cstring>

#include "sim/script/Script.h"
#include "sim/text/KeyName.h"
#include "sim/world/EventKinds.h"

namespace vx {

namespace {

// One row of a two-column table, the first column padded to width.
void row(std::FILE* out, int width, const char* first, const char* second) {
    std::fprintf(out, "  %-*s  %s\n", width, first, second);
}

void commands(std::FILE* out) {
    std::fputs("Script commands, one a line; '#' starts a comment. NAME is a vessel's name: one "
               "word,\nor any text in double quotes (\"Big Tender\"); as the last argument it may "
               "also be the\nrest of the line.\n\n",
               out);
    for (const CommandInfo& command : kCommands) {
        std::fprintf(out, "  %s\n      %s\n", command.usage, command.does);
    }
}

void keys(std::FILE* out) {
    std::fputs("Keys, as `key` names them: a letter a-z or a digit 0-9, or\n", out);
    for (const NamedKey& key : kNamedKeys) {
        row(out, 6, key.name, key.what);
    }
    std::fputs("each with modifiers held, written before it with '+' (\"shift+e\", \"rctrl+a\"):\n",
               out);
    for (const ModifierName& modifier : kModifierNames) {
        row(out, 6, modifier.name, modifier.what);
    }
    std::fputs("Names are read without regard to case.\n", out);
}

void transcript(std::FILE* out) {
    std::fputs("The transcript on standard output: one event a line, \"[T] KIND: TEXT\", T the\n"
               "simulated time in seconds with two decimals; print lines begin with \"| \".\n\n",
               out);
    for (const events::Kind& kind : events::kKinds) {
        std::fprintf(out, "  %-8s when %s\n  %-8s   %s\n", kind.name, kind.when, "", kind.text);
    }
}

} // namespace

void printHelp(std::string_view topic, std::FILE* out) {
    if (topic == "commands") {
        commands(out);
    } else if (topic == "keys") {
        keys(out);
    } else {
        transcript(out);
    }
}

} // namespace vx
