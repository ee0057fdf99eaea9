// What the reader fuzz targets share: a check that stops the process, the shape every
// refusal of a reader must have, and number equality that tells -0 from 0.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace fuzztext {

inline void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken invariant: %s\n", what);
        std::abort();
    }
}

// Same bits: a reader that turns -0 into 0, or one number into a neighbour, loses what was
// written.
inline bool SameNumber(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// "SOURCE:LINE: reason", the line a positive number, the reason not empty.
inline void CheckRefusal(std::string_view error, std::string_view source) {
    Require(error.substr(0, source.size()) == source && error.size() > source.size() &&
                error[source.size()] == ':',
            "refusal names the source");
    std::size_t at = source.size() + 1;
    const std::size_t digits = at;
    while (at < error.size() && error[at] >= '0' && error[at] <= '9') {
        ++at;
    }
    Require(at > digits && error[digits] != '0', "refusal names a line");
    Require(error.substr(at, 2) == ": " && error.size() > at + 2, "refusal gives a reason");
}

} // namespace fuzztext
