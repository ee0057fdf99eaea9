#include "sim/world/Services.h"

#include <cstring>

namespace vx {

double Random::next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
}

SystemClock::SystemClock(bool wallclock)
    : wallclock_(wallclock), start_(std::chrono::steady_clock::now()) {}

double SystemClock::now() const {
    if (!wallclock_) {
        return stepped_;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    return std::chrono::duration<double>(elapsed).count();
}

bool DebugLine::takeChange() {
    // A module may have filled the whole buffer; what counts ends at the last byte.
    line_[kSize - 1] = '\0';
    if (std::strcmp(line_.data(), reported_.data()) == 0) {
        return false;
    }
    std::memcpy(reported_.data(), line_.data(), kSize);
    return true;
}

HostLog::~HostLog() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void HostLog::write(std::string_view line) {
    if (file_ == nullptr) {
        file_ = std::fopen(path_.c_str(), "a");
        if (file_ == nullptr) {
            return;
        }
    }
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

} // namespace vx
