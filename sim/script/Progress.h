// Progress of a long step or run on standard error, when that is a terminal: a command that
// has taken a few seconds of wall time shows how far it is, on one line it keeps rewriting.
#pragma once

#include <chrono>
#include <string>

namespace vx {

class Progress {
public:
    // what names the command ("demo.vxs:12: run 1e6"); steps is how many it runs.
    Progress(std::string what, long long steps);
    // Ends the line it drew, if it drew one.
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // After step done of the command, at simulated time simt. Cheap: the clock is read only
    // every few hundred steps.
    void update(long long done, double simt) {
        if ((done & 255) == 0 && shown_ >= 0) {
            show(done, simt);
        }
    }

private:
    void show(long long done, double simt);

    using Clock = std::chrono::steady_clock;
    std::string what_;
    long long steps_;
    Clock::time_point next_; // when the line is due to be drawn next
    int shown_;              // -1 when standard error is not a terminal, else lines drawn
};

} // namespace vx
