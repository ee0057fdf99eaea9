// What the focus vessel writes on its HUD in one frame: a fixed number of text lines of fixed
// length, so that drawing a frame never touches the heap. Texts beyond the capacity are
// dropped; each text is cut to the line length.
#pragma once

#include <array>
#include <string>

#include "platform/HudSurface.h"
#include "platform/WinApi.h"

namespace vx {

struct HudText {
    int x = 0;
    int y = 0;
    int length = 0;
    std::array<char, 256> text{}; // up to 255 characters, terminated
};

class HudFrame {
public:
    static constexpr int kCapacity = 32;

    void clear() { count_ = 0; }
    void add(int x, int y, const char* text, int length);
    int count() const { return count_; }
    const HudText& at(int index) const { return texts_[static_cast<std::size_t>(index)]; }
    bool sameTexts(const HudFrame& other) const;
    // The texts joined by " | "; empty for a frame with nothing drawn.
    void joined(std::string& out) const;

private:
    std::array<HudText, kCapacity> texts_{};
    int count_ = 0;
};

// The device context the host hands to clbkDrawHUD: on Windows a memory DC (text capture is
// not done there), elsewhere the host's own surface behind TextOutA.
class HudCapture {
public:
    HudCapture();
    ~HudCapture();
    HudCapture(const HudCapture&) = delete;
    HudCapture& operator=(const HudCapture&) = delete;

    // Starts a frame: what is drawn on the context from now on lands in frame.
    HDC begin(HudFrame& frame);

    // Whether the texts drawn on the context reach the frame. On Windows they go to the
    // system's own device context and the frame stays empty whatever the vessel draws.
#ifdef _WIN32
    static constexpr bool kCapturesText = false;
#else
    static constexpr bool kCapturesText = true;
#endif
    // What the transcript shows in place of the texts when they are not captured.
    static constexpr const char* kNotCaptured = "[text not captured]";

private:
#ifdef _WIN32
    HDC dc_ = nullptr;
#else
    struct Surface : HudSurface {
        HudFrame* frame = nullptr;
    };
    static void textOut(HudSurface* self, int x, int y, const char* text, int length);
    Surface surface_;
#endif
};

} // namespace vx
