// The host's small services to modules: system time, random numbers, the log file and the
// debug line.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace vx {

// Deterministic uniform numbers in [0, 1), the same on every platform and library: splitmix64,
// and the top 53 bits as the fraction.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    double next();

private:
    std::uint64_t state_;
};

// System time: by default the sum of all step lengths so far, so runs repeat exactly; on the
// wall clock, real seconds since the world began.
class SystemClock {
public:
    explicit SystemClock(bool wallclock);
    void advance(double dt) { stepped_ += dt; }
    double now() const;

private:
    bool wallclock_;
    double stepped_ = 0.0;
    std::chrono::steady_clock::time_point start_;
};

// The debug line: one writable buffer that modules fill, and the content last reported.
class DebugLine {
public:
    static constexpr std::size_t kSize = 256;
    char* buffer() { return line_.data(); }
    // True when the line differs from what was last reported; then it counts as reported.
    bool takeChange();
    const char* text() const { return line_.data(); }
    // Empties the line and forgets what was reported.
    void reset() {
        line_.fill('\0');
        reported_.fill('\0');
    }

private:
    std::array<char, kSize> line_{};
    std::array<char, kSize> reported_{};
};

// The log file, opened on the first line written.
class HostLog {
public:
    explicit HostLog(std::string path) : path_(std::move(path)) {}
    ~HostLog();
    HostLog(const HostLog&) = delete;
    HostLog& operator=(const HostLog&) = delete;
    void write(std::string_view line);

private:
    std::string path_;
    std::FILE* file_ = nullptr;
};

} // namespace vx
