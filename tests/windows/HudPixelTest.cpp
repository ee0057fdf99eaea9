// The colony's HUD line drawn by the system itself: clbkDrawHUD into a memory device context
// backed by a bitmap the test reads back, in the colour and mode a host prepares for its HUD.
#include <array>
#include <cstdint>

#include <gtest/gtest.h>

#include "host/Keys.h"
#include "platform/WinApi.h"
#include "tests/vessel/ColonyWorld.h"

namespace {

constexpr std::uint32_t kHudPixel = 0x0000ff00; // RGB(0, 255, 0) as a 32-bit DIB stores it

struct HudSize {
    int width;
    int height;
    int lineY; // where the colony puts its line: a fifteenth of the way down in 60ths
};

class ColonyHudPixels : public ::testing::TestWithParam<HudSize> {
protected:
    // Draws the colony's HUD into a cleared top-down 32-bit bitmap and counts its pixels of the
    // HUD colour on the line's rows from x = 5, and of any colour elsewhere.
    void draw(int& onLine, int& elsewhere) {
        const HudSize size = GetParam();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = size.width;
        info.bmiHeader.biHeight = -size.height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        HDC dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bits, nullptr);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        std::fill_n(static_cast<std::uint32_t*>(bits), size.width * size.height, 0u);
        SetTextColor(dc, RGB(0, 255, 0));
        SetBkMode(dc, TRANSPARENT);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        HUDPAINTSPEC paint{};
        paint.W = size.width;
        paint.H = size.height;
        callbacksOf(*colony).clbkDrawHUD(1, &paint, dc);
        onLine = elsewhere = 0;
        const int bottom = size.lineY + metrics.tmHeight;
        ASSERT_LT(bottom, size.height);
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const std::uint32_t pixel = pixels[y * size.width + x] & 0x00ffffff;
                const bool line = y >= size.lineY && y < bottom && x >= 5;
                onLine += line && pixel == kHudPixel;
                elsewhere += !line && pixel != 0;
            }
        }
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    vx::World world{colonyWorldOptions()};
    halcyra* colony = createColony(world, "Halcyra");
};

TEST_P(ColonyHudPixels, LinesAreDrawnInTheHudColourOnTheirRowsOnlyUntilTheyTimeOut) {
    ASSERT_NE(colony, nullptr);
    int onLine = 0, elsewhere = 0;
    draw(onLine, elsewhere); // the welcome line, at once
    EXPECT_GT(onLine, 50);
    EXPECT_EQ(elsewhere, 0);
    std::array<char, VXK_STATE_SIZE> state{};
    ASSERT_EQ(callbacksOf(*colony).clbkConsumeBufferedKey(VXK_S, true, state.data()), 1);
    draw(onLine, elsewhere);
    EXPECT_GT(onLine, 50);
    EXPECT_EQ(elsewhere, 0);
    // A step longer than the line is shown: the host's own frame draws it a last time and runs
    // the timer out, so the next frame draws nothing.
    world.step(colony->hudMessageTimer + 1.0);
    draw(onLine, elsewhere);
    EXPECT_EQ(onLine + elsewhere, 0);
}

INSTANTIATE_TEST_SUITE_P(HudSizes, ColonyHudPixels,
                         ::testing::Values(HudSize{1024, 768, 180}, HudSize{1280, 1024, 255},
                                           HudSize{640, 480, 120}));

} // namespace
