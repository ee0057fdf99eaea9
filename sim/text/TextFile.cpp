#include "sim/text/TextFile.h"

#include <cerrno>
#include <cstring>

namespace vx {

namespace {

// Follows a text piece by piece, as it arrives.
class BoundsWatch {
public:
    BoundsWatch(const std::string& source, const TextBounds& bounds, std::string& error)
        : source_(source), bounds_(bounds), error_(error) {}

    bool take(std::string_view piece) {
        for (const char c : piece) {
            if (size_ == bounds_.fileBytes) {
                return refuse("the file goes on past " + std::to_string(bounds_.fileBytes) +
                              " bytes, the most a " + bounds_.what + " may hold");
            }
            ++size_;
            if (c == '\n') {
                ++line_;
                lineSize_ = 0;
            } else if (++lineSize_ > bounds_.lineBytes && c != '\r') {
                return refuse("the line is longer than " + std::to_string(bounds_.lineBytes) +
                              " bytes, the most a " + bounds_.what + " line may hold");
            }
        }
        return true;
    }

private:
    bool refuse(const std::string& reason) {
        error_ = source_ + ":" + std::to_string(line_) + ": " + reason;
        return false;
    }

    const std::string& source_;
    const TextBounds& bounds_;
    std::string& error_;
    std::size_t size_ = 0;
    std::size_t lineSize_ = 0;
    int line_ = 1;
};

} // namespace

bool readBoundedText(std::FILE* in, const std::string& source, const TextBounds& bounds,
                     std::string& text, std::string& error) {
    text.clear();
    BoundsWatch watch(source, bounds, error);
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
        if (!watch.take({chunk, got})) {
            text.clear();
            return false;
        }
        text.append(chunk, got);
    }
    if (std::ferror(in) != 0) {
        error = source + ": cannot be read (" + std::strerror(errno) + ")";
        text.clear();
        return false;
    }
    return true;
}

bool checkBoundedText(std::string_view text, const std::string& source, const TextBounds& bounds,
                      std::string& error) {
    return BoundsWatch(source, bounds, error).take(text);
}

} // namespace vx
