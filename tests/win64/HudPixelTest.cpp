// The colony's HUD line drawn by the system itself: clbkDrawHUD into a memory device context
// backed by a bitmap the test reads back, in the colour and mode a host prepares for its HUD.
#include <array>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "host/Keys.h"
#include "platform/WinApi.h"
#include "tests/vessel/ColonyWorld.h"

namespace {

constexpr COLORREF kHudColour = RGB(0, 255, 0);
constexpr std::uint32_t kHudPixel = 0x0000ff00; // kHudColour as a 32-bit DIB stores it
constexpr std::uint32_t kBackground = 0;

// A top-down 32-bit bitmap selected into a memory DC, cleared to black.
class HudBitmap {
public:
    HudBitmap(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels_ = static_cast<std::uint32_t*>(bits);
        if (dc_ != nullptr && bitmap_ != nullptr) {
            previous_ = SelectObject(dc_, bitmap_);
            std::fill(pixels_, pixels_ + static_cast<std::size_t>(width) * height, kBackground);
            SetTextColor(dc_, kHudColour);
            SetBkMode(dc_, TRANSPARENT);
        }
    }
    ~HudBitmap() {
        if (previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
        if (bitmap_ != nullptr) {
            DeleteObject(bitmap_);
        }
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    HudBitmap(const HudBitmap&) = delete;
    HudBitmap& operator=(const HudBitmap&) = delete;

    bool ready() const { return pixels_ != nullptr && previous_ != nullptr; }
    HDC dc() const { return dc_; }
    int textHeight() const {
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        return metrics.tmHeight;
    }
    std::uint32_t at(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y) * width_ + x] & 0x00ffffff;
    }
    // Pixels of the HUD colour, and pixels of any colour but the background, in a rectangle.
    int count(int x0, int y0, int x1, int y1, bool anyColour) const {
        int found = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const std::uint32_t pixel = at(x, y);
                found += anyColour ? pixel != kBackground : pixel == kHudPixel;
            }
        }
        return found;
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
};

struct HudSize {
    int width;
    int height;
    int lineY; // where the colony puts its line: a fifteenth of the way down in 60ths
};

void PrintTo(const HudSize& size, std::ostream* out) {
    *out << size.width << "x" << size.height;
}

class ColonyHudPixels : public ::testing::TestWithParam<HudSize> {
protected:
    void SetUp() override {
        colony = createColony(world, "Halcyra");
        ASSERT_NE(colony, nullptr);
    }
    void draw(HudBitmap& bitmap) {
        HUDPAINTSPEC paint{};
        paint.W = bitmap.width();
        paint.H = bitmap.height();
        paint.CX = paint.W / 2;
        paint.CY = paint.H / 2;
        callbacksOf(*colony).clbkDrawHUD(1, &paint, bitmap.dc());
    }
    void pressInfoKey() {
        std::array<char, VXK_STATE_SIZE> state{};
        ASSERT_EQ(callbacksOf(*colony).clbkConsumeBufferedKey(VXK_S, true, state.data()), 1);
    }

    vx::World world{colonyWorldOptions()};
    halcyra* colony = nullptr;
};

TEST_P(ColonyHudPixels, TheAnswerLineIsDrawnInTheHudColourOnItsRowsOnly) {
    const HudSize size = GetParam();
    HudBitmap bitmap(size.width, size.height);
    ASSERT_TRUE(bitmap.ready());
    pressInfoKey();
    draw(bitmap);

    const int bottom = size.lineY + bitmap.textHeight();
    ASSERT_LT(bottom, size.height);
    EXPECT_GT(bitmap.count(5, size.lineY, size.width, bottom, false), 50)
        << "no text on the rows of the HUD line";
    EXPECT_EQ(bitmap.count(0, 0, size.width, size.lineY, true), 0) << "drawn above the line";
    EXPECT_EQ(bitmap.count(0, bottom, size.width, size.height, true), 0) << "drawn below it";
    EXPECT_EQ(bitmap.count(0, size.lineY, 5, bottom, true), 0) << "drawn left of x = 5";
}

TEST_P(ColonyHudPixels, TheWelcomeLineIsDrawnAtOnceAndNothingOnceItHasTimedOut) {
    const HudSize size = GetParam();
    HudBitmap welcome(size.width, size.height);
    ASSERT_TRUE(welcome.ready());
    draw(welcome);
    const int bottom = size.lineY + welcome.textHeight();
    EXPECT_GT(welcome.count(5, size.lineY, size.width, bottom, false), 50);
    EXPECT_EQ(welcome.count(0, 0, size.width, size.lineY, true), 0);

    // A step longer than the line is shown: the host's own frame draws it a last time and
    // runs the timer out, so the next frame draws nothing.
    world.step(colony->hudMessageTimer + 1.0);
    HudBitmap timedOut(size.width, size.height);
    ASSERT_TRUE(timedOut.ready());
    draw(timedOut);
    EXPECT_EQ(colony->hudMessageTimer, 0.0);
    EXPECT_EQ(timedOut.count(0, 0, size.width, size.height, true), 0);
}

INSTANTIATE_TEST_SUITE_P(HudSizes, ColonyHudPixels,
                         ::testing::Values(HudSize{1024, 768, 180}, HudSize{1280, 1024, 255},
                                           HudSize{640, 480, 120}));

} // namespace
