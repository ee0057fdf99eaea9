#include "sim/world/HudCapture.h"

#include <algorithm>
#include <cstring>

namespace vx {

void HudFrame::add(int x, int y, const char* text, int length) {
    if (count_ >= kCapacity) {
        return;
    }
    HudText& slot = texts_[static_cast<std::size_t>(count_++)];
    const int kept = std::clamp(length, 0, static_cast<int>(slot.text.size()) - 1);
    slot.x = x;
    slot.y = y;
    slot.length = kept;
    if (kept > 0) {
        std::memcpy(slot.text.data(), text, static_cast<std::size_t>(kept));
    }
    slot.text[static_cast<std::size_t>(kept)] = '\0';
}

bool HudFrame::sameTexts(const HudFrame& other) const {
    if (count_ != other.count_) {
        return false;
    }
    for (int i = 0; i < count_; ++i) {
        const HudText& a = at(i);
        const HudText& b = other.at(i);
        if (a.x != b.x || a.y != b.y || a.length != b.length ||
            std::memcmp(a.text.data(), b.text.data(), static_cast<std::size_t>(a.length)) != 0) {
            return false;
        }
    }
    return true;
}

void HudFrame::joined(std::string& out) const {
    out.clear();
    for (int i = 0; i < count_; ++i) {
        if (i > 0) {
            out += " | ";
        }
        out.append(at(i).text.data(), static_cast<std::size_t>(at(i).length));
    }
}

#ifdef _WIN32

HudCapture::HudCapture() : dc_(CreateCompatibleDC(nullptr)) {}

HudCapture::~HudCapture() {
    if (dc_ != nullptr) {
        DeleteDC(dc_);
    }
}

HDC HudCapture::begin(HudFrame& frame) {
    frame.clear();
    return dc_;
}

#else

HudCapture::HudCapture() {
    surface_.textOut = &HudCapture::textOut;
}

HudCapture::~HudCapture() = default;

HDC HudCapture::begin(HudFrame& frame) {
    frame.clear();
    surface_.frame = &frame;
    return &surface_;
}

void HudCapture::textOut(HudSurface* self, int x, int y, const char* text, int length) {
    auto* surface = static_cast<Surface*>(self);
    if (surface->frame != nullptr) {
        surface->frame->add(x, y, text, length);
    }
}

#endif

} // namespace vx
