#include "sim/screen/InteractiveSession.h"

#include <curses.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "sim/screen/TerminalKeys.h"
#include "sim/screen/WordBreak.h"
#include "sim/world/HudCapture.h"
#include "sim/world/Math3.h"
#include "sim/world/VesselRecord.h"
#include "sim/world/World.h"

namespace vx {

namespace {

constexpr int kMinWidth = 80;
constexpr int kMinHeight = 24;
constexpr int kHudLines = 3;
constexpr std::size_t kLogLines = 2000;
constexpr int kFrameMilliseconds = 50;
// A frame that took longer (a stopped terminal, a question) does not jump the world ahead.
constexpr double kLongestFrame = 0.25;
// Only a vessel this close can be docked with by key.
constexpr double kDockReach = 100.0;
constexpr double kMessageSeconds = 6.0;
constexpr int kEscape = 27;
constexpr const char* kPathPrompt = "Save to another path (Enter saves, Esc cancels): ";

// The terminal in full-screen mode for as long as the object lives.
class Screen {
public:
    Screen() {
        initscr();
        // Ctrl-C, Ctrl-Z and Ctrl-\ arrive as keys rather than signals, and Ctrl-Q and Ctrl-S
        // are not taken by the terminal's flow control: none stops the screen unasked.
        raw();
        noecho();
        keypad(stdscr, TRUE);
        set_escdelay(25);
        curs_set(0);
        timeout(kFrameMilliseconds);
    }
    ~Screen() { endwin(); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;
};

void put(int line, int column, std::string_view text, int width) {
    if (width <= 0) {
        return;
    }
    mvaddnstr(line, column, text.data(),
              static_cast<int>(std::min<std::size_t>(text.size(), width)));
}

void rule(int line, int column, int width, std::string_view label) {
    mvhline(line, column, '-', width);
    attron(A_BOLD);
    put(line, column + 1, label, width - 2);
    attroff(A_BOLD);
}

bool fits() {
    return COLS >= kMinWidth && LINES >= kMinHeight;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

InteractiveSession::InteractiveSession(World& world, SaveTarget saveTarget, std::string shownName)
    : world_(world), saveTarget_(std::move(saveTarget)), shownName_(std::move(shownName)) {}

void InteractiveSession::event(double simt, std::string_view kind, std::string_view text) {
    if (kind == "hud") {
        return; // drawn at the top as it is
    }
    if (kind == "key" || kind == "focus" || kind == "vessel+" || kind == "vessel-" ||
        kind == "dock" || kind == "undock") {
        unsaved_ = true;
    }
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "[%.2f] ", simt);
    std::string line = stamp;
    line.append(kind).append(": ").append(text);
    log_.push_back(std::move(line));
    if (log_.size() > kLogLines) {
        log_.pop_front();
    }
}

int InteractiveSession::run() {
    Screen screen;
    const ModifiedKeyCodes modified = lookUpModifiedKeys();
    const auto start = std::chrono::steady_clock::now();
    double lastStep = 0.0;
    draw();
    while (!quit_) {
        for (int code = getch(); code != ERR && !quit_; code = getch()) {
            if (question_ != Question::None) {
                answer(code);
            } else {
                handle(translateTerminalKey(code, modified));
            }
            timeout(0); // take every key already typed before the next frame
        }
        timeout(kFrameMilliseconds);
        realTime_ = secondsSince(start);
        const double elapsed = std::min(realTime_ - lastStep, kLongestFrame);
        lastStep = realTime_;
        // Nothing runs while the user cannot see it or is being asked.
        if (fits() && question_ == Question::None && elapsed > 0.0 && !halted_ &&
            !world_.step(elapsed * warp_)) {
            // The world can no longer be saved to be read again: time stands still.
            halted_ = true;
            say("time stopped: " + world_.stepError());
        }
        if (!quit_) {
            draw();
        }
    }
    return 0;
}

void InteractiveSession::handle(const TerminalKey& key) {
    if (!fits() && key.action != TerminalAction::Quit && key.action != TerminalAction::Resize) {
        return; // a key would act unseen
    }
    switch (key.action) {
    case TerminalAction::None:
        message_.clear(); // the keys take the status line
        return;
    case TerminalAction::VesselKey: {
        const VesselRecord* focus = world_.focus();
        if (focus == nullptr) {
            say("no vessel has the focus");
            return;
        }
        const std::string name = focus->name; // the key may delete the vessel
        say(key.key.text + (world_.pressKey(key.key) != 0 ? ": taken by " : ": not taken by ") +
            name);
        return;
    }
    case TerminalAction::NextFocus:
        cycleFocus(1);
        return;
    case TerminalAction::PreviousFocus:
        cycleFocus(-1);
        return;
    case TerminalAction::Save:
        save(false);
        return;
    case TerminalAction::Undock:
        undockFocus();
        return;
    case TerminalAction::Dock:
        dockFocus();
        return;
    case TerminalAction::Faster:
        warp_ = std::min(warp_ * 10, 100);
        say("time x" + std::to_string(warp_));
        return;
    case TerminalAction::Slower:
        warp_ = std::max(warp_ / 10, 1);
        say("time x" + std::to_string(warp_));
        return;
    case TerminalAction::Quit:
        if (unsaved_) {
            question_ = Question::QuitUnsaved;
            say("Changes since the last save will be lost. Quit anyway? (y/n)");
            return;
        }
        quit_ = true;
        return;
    case TerminalAction::Resize:
        clear();
        return;
    }
}

void InteractiveSession::answer(int code) {
    if (code == KEY_RESIZE) {
        clear();
        return;
    }
    if (question_ == Question::SavePath) {
        editPath(code);
        return;
    }
    const Question asked = question_;
    question_ = Question::None;
    const bool yes = code == 'y' || code == 'Y';
    if (asked == Question::QuitUnsaved) {
        if (yes) {
            quit_ = true;
        } else {
            say("not quitting");
        }
        return;
    }
    if (yes) {
        save(true);
    } else {
        say("not saved");
    }
}

// A small line editor: typing, Backspace, Enter to save, Escape (or a quit key) to give up.
void InteractiveSession::editPath(int code) {
    if (code == '\n' || code == '\r' || code == KEY_ENTER) {
        question_ = Question::None;
        if (typedPath_.empty()) {
            say("not saved");
            return;
        }
        saveTarget_.file = saveTarget_.start / typedPath_;
        savedHere_ = false;
        save(false);
    } else if (code == kEscape || translateTerminalKey(code, {}).action == TerminalAction::Quit) {
        question_ = Question::None;
        say("not saved");
    } else if (code == KEY_BACKSPACE || code == 127 || code == '\b') {
        // A whole character: a UTF-8 sequence's continuation bytes go with its first byte.
        while (!typedPath_.empty() && (typedPath_.back() & 0xC0) == 0x80) {
            typedPath_.pop_back();
        }
        if (!typedPath_.empty()) {
            typedPath_.pop_back();
        }
    } else if (code >= ' ' && code <= 0xFF && code != 127) {
        typedPath_ += static_cast<char>(code);
    }
}

void InteractiveSession::cycleFocus(int direction) {
    const std::vector<VesselRecord*>& vessels = world_.vessels();
    if (vessels.empty()) {
        say("there is no vessel");
        return;
    }
    const auto at = std::find(vessels.begin(), vessels.end(), world_.focus());
    const long count = static_cast<long>(vessels.size());
    const long index = at == vessels.end() ? 0 : at - vessels.begin();
    VesselRecord* next = vessels[static_cast<std::size_t>((index + direction + count) % count)];
    world_.setFocus(next);
    say("focus " + next->name);
}

void InteractiveSession::save(bool overwrite) {
    std::error_code error;
    if (!overwrite && !savedHere_ && std::filesystem::exists(saveTarget_.file, error)) {
        question_ = Question::Overwrite;
        say(saveTarget_.file.string() + " exists. Overwrite it? (y/n)");
        return;
    }
    std::string reason;
    if (!world_.save(saveTarget_.file.string(), saveTarget_.file.string(), reason)) {
        question_ = Question::SavePath;
        say(reason);
        return;
    }
    savedHere_ = true;
    unsaved_ = false;
    say("saved " + saveTarget_.file.string());
}

void InteractiveSession::undockFocus() {
    VesselRecord* focus = world_.focus();
    int released = 0;
    std::string reason;
    if (focus != nullptr) {
        for (const auto& port : focus->docks) {
            if (port->mate != nullptr && world_.undock(focus, port->index, reason)) {
                ++released;
            }
        }
    }
    say(released == 0 ? "the focus vessel is not docked"
                      : "released " + std::to_string(released) + " dock(s)");
}

void InteractiveSession::dockFocus() {
    VesselRecord* focus = world_.focus();
    if (focus == nullptr || focus->iface == nullptr) {
        say("no vessel has the focus");
        return;
    }
    const auto where = [](const VesselRecord& vessel, const VxDock& port) {
        VECTOR3 global{};
        vessel.iface->Local2Rel(port.pos, global);
        return global;
    };
    // The closest pair of free ports, the focus vessel's and another's, as a pilot lines up.
    const VxDock* own = nullptr;
    const VxDock* other = nullptr;
    double closest = kDockReach;
    for (const auto& mine : focus->docks) {
        if (mine->mate != nullptr) {
            continue;
        }
        const VECTOR3 from = where(*focus, *mine);
        for (const VesselRecord* vessel : world_.vessels()) {
            if (vessel == focus || vessel->iface == nullptr) {
                continue;
            }
            for (const auto& theirs : vessel->docks) {
                if (theirs->mate != nullptr) {
                    continue;
                }
                const double gap = length(sub(where(*vessel, *theirs), from));
                if (gap <= closest) {
                    own = mine.get();
                    other = theirs.get();
                    closest = gap;
                }
            }
        }
    }
    if (own == nullptr) {
        say("no free dock within 100 m of a free dock of the focus vessel");
        return;
    }
    std::string reason;
    if (!world_.dock(focus, own->index, other->owner, other->index, reason)) {
        say("not docked: " + reason);
        return;
    }
    say("docked " + focus->name + " " + std::to_string(own->index) + " to " + other->owner->name +
        " " + std::to_string(other->index));
}

void InteractiveSession::say(std::string message) {
    message_ = std::move(message);
    messageAt_ = realTime_;
}

// --- Drawing -----------------------------------------------------------------------------------

void InteractiveSession::draw() {
    const int width = COLS;
    const int height = LINES;
    erase();
    if (!fits()) {
        drawTooSmall(width, height);
        refresh();
        return;
    }
    drawTitle(width);
    drawHud(width);
    const int top = 1 + kHudLines;
    const int bottom = height - 2; // status and debug lines below
    const int logWidth = std::max(24, width * 3 / 10);
    const int leftWidth = width - logWidth - 1;
    const int middle = bottom - top;
    const int panelRows = std::min<int>(static_cast<int>(world_.vessels().size()) + 2, middle / 2);
    drawVessels(top, 0, leftWidth, panelRows);
    drawMap(top + panelRows, 0, leftWidth, middle - panelRows);
    mvvline(top, leftWidth, '|', middle);
    drawLog(top, leftWidth + 1, logWidth, middle);
    drawStatus(width, height);
    refresh();
}

void InteractiveSession::drawTooSmall(int width, int height) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "This terminal is %d by %d; the Spacedock needs at least %d by %d. Enlarge "
                  "it, or press F10 or Ctrl-C to quit. Other keys do nothing until then.",
                  width, height, kMinWidth, kMinHeight);
    std::vector<std::string_view> lines = breakAtSpaces(text, width);
    const std::string path = pathLine(width);
    if (question_ != Question::None) { // asked here too, so that it can be answered
        lines.emplace_back();
        const std::vector<std::string_view> asked = breakAtSpaces(message_, width);
        lines.insert(lines.end(), asked.begin(), asked.end());
        lines.emplace_back(path);
    }
    for (int line = 0; line < height && line < static_cast<int>(lines.size()); ++line) {
        put(line, 0, lines[static_cast<std::size_t>(line)], width);
    }
}

void InteractiveSession::drawTitle(int width) {
    const VesselRecord* focus = world_.focus();
    char title[256];
    std::snprintf(title, sizeof title, " vxsim  %s  t %.1f s  time x%d  focus %s%s",
                  shownName_.c_str(), world_.simTime(), warp_,
                  focus != nullptr ? focus->name.c_str() : "-", unsaved_ ? "  (unsaved)" : "");
    attron(A_REVERSE);
    mvhline(0, 0, ' ', width);
    put(0, 0, title, width);
    attroff(A_REVERSE);
}

void InteractiveSession::drawHud(int width) {
    const HudFrame& frame = world_.hudFrame();
    const int hudWidth = std::max(world_.hudWidth(), 1);
    const int hudHeight = std::max(world_.hudHeight(), 1);
    attron(A_BOLD);
    for (int i = 0; i < frame.count(); ++i) {
        const HudText& text = frame.at(i);
        const int line = std::clamp(text.y * kHudLines / hudHeight, 0, kHudLines - 1);
        const int column = std::clamp(text.x * width / hudWidth, 0, width - 1);
        // A long text goes on in the HUD lines below its own.
        const std::vector<std::string_view> pieces =
            breakAtSpaces(std::string_view(text.text.data(), static_cast<std::size_t>(text.length)),
                          width - column);
        for (int piece = 0; piece < static_cast<int>(pieces.size()) && line + piece < kHudLines;
             ++piece) {
            put(1 + line + piece, column, pieces[static_cast<std::size_t>(piece)], width - column);
        }
    }
    attroff(A_BOLD);
}

void InteractiveSession::drawVessels(int top, int left, int width, int rows) {
    rule(top, left, width, " Vessels ");
    collectVesselRows(world_, rows_);
    const std::vector<std::string> lines = vesselPanelLines(rows_, width);
    const int shown = std::min<int>(rows - 1, static_cast<int>(lines.size()));
    for (int i = 0; i < shown; ++i) {
        const bool focus = i > 0 && rows_[static_cast<std::size_t>(i - 1)].focus;
        if (focus) {
            attron(A_BOLD);
        }
        put(top + 1 + i, left, lines[static_cast<std::size_t>(i)], width);
        if (focus) {
            attroff(A_BOLD);
        }
    }
}

void InteractiveSession::drawMap(int top, int left, int width, int rows) {
    rule(top, left, width, " Map, from above the focus vessel (x right, z up) ");
    if (rows < 5) {
        return;
    }
    drawNearbyMap(world_, width, rows - 2, map_);
    // A caption too long for one line takes lines from the map's.
    if (const int captionLines = static_cast<int>(breakAtSpaces(map_.caption, width).size());
        captionLines > 1 && rows - 1 - captionLines >= 3) {
        drawNearbyMap(world_, width, rows - 1 - captionLines, map_);
    }
    for (int line = 0; line < static_cast<int>(map_.lines.size()); ++line) {
        put(top + 1 + line, left, map_.lines[static_cast<std::size_t>(line)], width);
    }
    int line = top + 1 + static_cast<int>(map_.lines.size());
    for (std::string_view piece : breakAtSpaces(map_.caption, width)) {
        if (line < top + rows) {
            put(line++, left, piece, width);
        }
    }
}

void InteractiveSession::drawLog(int top, int left, int width, int rows) {
    rule(top, left, width, " Log ");
    // The newest entries, each broken to the panel's width, fill the panel from the bottom.
    int line = top + rows - 1;
    for (auto entry = log_.rbegin(); entry != log_.rend() && line > top; ++entry) {
        const std::vector<std::string_view> pieces = breakAtSpaces(*entry, width);
        for (auto piece = pieces.rbegin(); piece != pieces.rend() && line > top; ++piece, --line) {
            put(line, left, *piece, width);
        }
    }
}

void InteractiveSession::drawStatus(int width, int height) {
    const bool fresh = question_ != Question::None ||
                       (!message_.empty() && realTime_ - messageAt_ < kMessageSeconds);
    std::string status =
        " " +
        (fresh ? message_
               : "Tab focus  F2 save  F5 undock  F6 dock  +/- time  F10 quit  other keys: vessel");
    if (status.size() > static_cast<std::size_t>(width)) {
        // A message's point is at its end: the question, the reason, the file's name.
        status = " ..." +
                 status.substr(status.size() - static_cast<std::size_t>(std::max(width - 4, 0)));
    }
    attron(A_REVERSE);
    mvhline(height - 2, 0, ' ', width);
    put(height - 2, 0, status, width);
    attroff(A_REVERSE);
    if (question_ == Question::SavePath) {
        put(height - 1, 0, pathLine(width), width);
        return;
    }
    const char* debug = world_.debugText();
    put(height - 1, 0, std::string("debug: ") + (debug[0] != '\0' ? debug : "-"), width);
}

// The path being typed, its end in sight however long it grows.
std::string InteractiveSession::pathLine(int width) const {
    if (question_ != Question::SavePath) {
        return {};
    }
    const std::string typed = typedPath_ + "_";
    const std::size_t room =
        static_cast<std::size_t>(std::max(width - static_cast<int>(std::strlen(kPathPrompt)), 1));
    return kPathPrompt + (typed.size() <= room ? typed : typed.substr(typed.size() - room));
}

} // namespace vx
