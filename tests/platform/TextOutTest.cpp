// TextOutA hands the text to the host's surface untouched.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/HudSurface.h"
#include "platform/WinApi.h"

namespace {

struct Drawn {
    int x;
    int y;
    std::string text;
};

struct RecordingSurface : HudSurface {
    RecordingSurface() : HudSurface{&record} {}
    static void record(HudSurface* self, int x, int y, const char* text, int length) {
        static_cast<RecordingSurface*>(self)->drawn.push_back(
            {x, y, std::string(text, static_cast<std::size_t>(length))});
    }
    std::vector<Drawn> drawn;
};

TEST(TextOut, ForwardsPositionAndExactlyLengthBytes) {
    RecordingSurface surface;
    const char text[] = "EVA OK - Vasko commencing spacewalk.";
    EXPECT_EQ(TextOutA(&surface, 10, 300, text, 6), TRUE);
    EXPECT_EQ(TextOutA(&surface, -5, 0, "", 0), TRUE);
    ASSERT_EQ(surface.drawn.size(), 2u);
    EXPECT_EQ(surface.drawn[0].x, 10);
    EXPECT_EQ(surface.drawn[0].y, 300);
    EXPECT_EQ(surface.drawn[0].text, "EVA OK");
    EXPECT_EQ(surface.drawn[1].x, -5);
    EXPECT_EQ(surface.drawn[1].text, "");
}

TEST(TextOut, RefusesMissingSurfaceAndNegativeLength) {
    RecordingSurface surface;
    EXPECT_EQ(TextOutA(nullptr, 0, 0, "text", 4), FALSE);
    EXPECT_EQ(TextOutA(&surface, 0, 0, "text", -1), FALSE);
    HudSurface silent{nullptr};
    EXPECT_EQ(TextOutA(&silent, 0, 0, "text", 4), FALSE);
    EXPECT_TRUE(surface.drawn.empty());
}

} // namespace
