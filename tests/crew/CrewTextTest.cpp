// The crew manager's byte-level text helpers: prefix tests that stop where strncmp stops, and
// the bounded copy that turns one byte into another on the way.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "crew/CrewText.h"

namespace {

TEST(CrewTextTest, StartsWithBytesComparesLikeStrncmpForEquality) {
    struct Case {
        const char* text;
        const char* prefix;
        std::size_t length;
    };
    const Case cases[] = {
        {"CKit", "CKit", 4},
        {"CKitRover", "CKit", 4},
        {"CKi", "CKit", 4},
        {"", "CKit", 4},
        {"ckit", "CKit", 4},
        {"C-Ki", "C-Ki", 5},
        {"C-Kid", "C-Ki", 5},
        {"C-K", "C-Ki", 5},
        {"CKitT", "CKitT", 5},
        {"CKit_A", "CKitT", 5},
        {"abc", "abd", 2},
        {"abc", "abd", 3},
        {"", "", 1},
        {"x", "", 1},
        {"anything", "other", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.prefix + " / " + std::to_string(c.length));
        EXPECT_EQ(StartsWithBytes(c.text, c.prefix, c.length),
                  std::strncmp(c.text, c.prefix, c.length) == 0);
    }
}

TEST(CrewTextTest, StartsWithBytesReadsNoFurtherThanAShortTextsTerminator) {
    // A text that ends early, right before bytes that would match: the comparison must stop
    // at the terminator, as the bytes after it are none of the text's.
    // The bytes after both terminators differ; equal up to the terminators is equal.
    const char text[] = {'C', 'K', '\0', 'i', 't'};
    const char prefix[] = {'C', 'K', '\0', 'x', 'x'};
    EXPECT_TRUE(StartsWithBytes(text, prefix, 5));
    EXPECT_TRUE(StartsWithBytes(text, "CK", 3));
    EXPECT_FALSE(StartsWithBytes(text, "CKit", 4));
}

TEST(CrewTextTest, CopyReplacingByteKeepsAtMostTheLimitAndTerminates) {
    struct Case {
        const char* text;
        std::size_t maxLength;
        const char* expected;
    };
    const Case cases[] = {
        {"CKit_Doc-Ann_Lee", 39, "CKit Doc-Ann Lee"},
        {"CKit_Doc-Ann_Lee", 8, "CKit Doc"},
        {"__", 39, "  "},
        {"", 39, ""},
        {"abc", 0, ""},
        {"no underscores", 3, "no "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + std::to_string(c.maxLength));
        char out[48];
        std::memset(out, '#', sizeof out);
        CopyReplacingByte(out, c.text, c.maxLength, '_', ' ');
        EXPECT_STREQ(out, c.expected);
        EXPECT_EQ(out[std::strlen(c.expected) + 1], '#') << "wrote past the terminator";
    }
}

} // namespace
