#include "sim/script/Progress.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define VX_STDERR_IS_TERMINAL (_isatty(_fileno(stderr)) != 0)
#else
#include <unistd.h>
#define VX_STDERR_IS_TERMINAL (isatty(STDERR_FILENO) != 0)
#endif

namespace vx {

namespace {

constexpr std::chrono::seconds kQuietFor{2}; // a command shorter than this shows nothing
constexpr std::chrono::milliseconds kRedrawEvery{250};

} // namespace

Progress::Progress(std::string what, long long steps)
    : what_(std::move(what)), steps_(steps), next_(Clock::now() + kQuietFor),
      shown_(VX_STDERR_IS_TERMINAL ? 0 : -1) {}

Progress::~Progress() {
    if (shown_ > 0) {
        std::fputc('\n', stderr);
    }
}

void Progress::show(long long done, double simt) {
    const Clock::time_point now = Clock::now();
    if (now < next_) {
        return;
    }
    next_ = now + kRedrawEvery;
    ++shown_;
    std::fprintf(stderr, "\r%s: step %lld of %lld (%.0f%%), T = %.2f s (Ctrl-C stops)  ",
                 what_.c_str(), done, steps_,
                 100.0 * static_cast<double>(done) / static_cast<double>(steps_ > 0 ? steps_ : 1),
                 simt);
    std::fflush(stderr);
}

} // namespace vx
