#include "sim/script/Transcript.h"

namespace vx {

void Transcript::event(double simt, std::string_view kind, std::string_view text) {
    char time[48];
    std::snprintf(time, sizeof time, "[%.2f] ", simt);
    line_.assign(time).append(kind).append(": ").append(text);
    writeLine();
}

void Transcript::print(std::string_view text) {
    line_.assign("| ").append(text);
    writeLine();
}

void Transcript::writeLine() {
    line_.push_back('\n');
    std::fwrite(line_.data(), 1, line_.size(), out_);
    std::fflush(out_);
}

} // namespace vx
