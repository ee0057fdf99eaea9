// vxsim's standard output: one event a line, "[T] KIND: TEXT" with the simulated time to two
// decimals, and print lines beginning with "| ". Every line is flushed as it is written, so
// that a run that stops early still shows everything up to that point.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vx {

class Transcript {
public:
    explicit Transcript(std::FILE* out) : out_(out) {}
    void event(double simt, std::string_view kind, std::string_view text);
    void print(std::string_view text);

private:
    void writeLine();
    std::FILE* out_;
    std::string line_;
};

} // namespace vx
