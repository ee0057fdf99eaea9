// vxsim --interactive: the world in real time on a full-screen terminal. The focus vessel's
// HUD on top, the vessels and a map of those near the focus on the left, the log on the
// right, the debug line at the bottom; keys go to the focus vessel as the simulator sends
// them.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "sim/screen/NearbyMap.h"
#include "sim/screen/SaveTarget.h"
#include "sim/screen/VesselPanel.h"

namespace vx {

class World;
struct TerminalKey;

class InteractiveSession {
public:
    // saveTarget is where F2 saves; shownName names the scenario in the title.
    InteractiveSession(World& world, SaveTarget saveTarget, std::string shownName);
    InteractiveSession(const InteractiveSession&) = delete;
    InteractiveSession& operator=(const InteractiveSession&) = delete;

    // Every event of the world, for the log panel; set as the world's event sink.
    void event(double simt, std::string_view kind, std::string_view text);
    // The world as loaded is what was saved last.
    void markSaved() { unsaved_ = false; }

    // Runs until the user quits; the exit status.
    int run();

private:
    // SavePath: the default could not be written, and another path is being typed.
    enum class Question { None, Overwrite, QuitUnsaved, SavePath };

    void handle(const TerminalKey& key);
    void answer(int code);
    void editPath(int code);
    void cycleFocus(int direction);
    void save(bool overwrite);
    void undockFocus();
    void dockFocus();
    void say(std::string message);

    void draw();
    void drawTooSmall(int width, int height);
    void drawTitle(int width);
    void drawHud(int width);
    void drawVessels(int top, int left, int width, int rows);
    void drawMap(int top, int left, int width, int rows);
    void drawLog(int top, int left, int width, int rows);
    void drawStatus(int width, int height);
    std::string pathLine(int width) const;

    World& world_;
    SaveTarget saveTarget_;
    std::string typedPath_; // for Question::SavePath, relative to saveTarget_.start
    std::string shownName_;
    bool savedHere_ = false; // saveTarget_ was written by this session
    bool unsaved_ = false;   // a key, focus, vessel or dock event since the last save
    bool quit_ = false;
    bool halted_ = false; // a step left the bounds: the world no longer moves
    int warp_ = 1;        // time acceleration: 1, 10 or 100
    Question question_ = Question::None;
    std::string message_;   // the status line's answer to the last command
    double messageAt_ = 0;  // real seconds since start when it was said
    double realTime_ = 0.0; // real seconds since start

    std::deque<std::string> log_; // the newest last, at most kLogLines
    std::vector<VesselRow> rows_;
    NearbyMap map_;
};

} // namespace vx
