// The module's file layer: backslash paths, the fixed pool, and reads that behave as the C
// library's would.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/File.h"
#include "platform/WinApi.h"
#include "tests/platform/AllocationCounter.h"
#include "tests/platform/TempFolder.h"

namespace {

std::string readWhole(PlatformFile* file) {
    std::string content;
    char chunk[100];
    std::size_t got = 0;
    while ((got = FileRead(file, chunk, sizeof chunk)) > 0) {
        content.append(chunk, got);
    }
    return content;
}

std::vector<std::string> linesByFileReadLine(const std::string& path, int capacity) {
    std::vector<std::string> lines;
    PlatformFile* file = FileOpen(path.c_str(), "rt");
    EXPECT_NE(file, nullptr);
    std::vector<char> buffer(static_cast<std::size_t>(capacity) + 8, 'X');
    while (FileReadLine(file, buffer.data(), capacity)) {
        lines.emplace_back(buffer.data());
        if (lines.size() > 10000) {
            break;
        }
    }
    FileClose(file);
    return lines;
}

std::vector<std::string> linesByFgets(const std::string& path, int capacity) {
    std::vector<std::string> lines;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"),
                                                         &std::fclose);
    EXPECT_NE(file, nullptr);
    std::vector<char> buffer(static_cast<std::size_t>(capacity) + 8, 'X');
    while (std::fgets(buffer.data(), capacity, file.get()) != nullptr) {
        lines.emplace_back(buffer.data());
    }
    return lines;
}

TEST(File, RoundTripKeepsEveryByte) {
    TempFolder folder;
    std::string data;
    for (int i = 0; i < 3000; ++i) {
        data.push_back(static_cast<char>(i * 7));
    }
    const std::string path = folder.windowsPath("data.bin");
    PlatformFile* out = FileOpen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(FileWrite(out, data.data(), data.size()), data.size());
    FileClose(out);

    PlatformFile* in = FileOpen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(readWhole(in), data);
    FileClose(in);
}

TEST(File, BackslashPathsReachTheSameFile) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "config");
    folder.write("config/CKittmp.cfg", "record");
    PlatformFile* file = FileOpen(folder.windowsPath("config\\CKittmp.cfg").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(readWhole(file), "record");
    FileClose(file);

    EXPECT_EQ(FileRemove(folder.windowsPath("config\\CKittmp.cfg").c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "config" / "CKittmp.cfg"));
    EXPECT_NE(FileRemove(folder.windowsPath("config\\CKittmp.cfg").c_str()), 0);
}

TEST(File, WritingTruncatesAndCreatesWithOrdinaryPermissions) {
    TempFolder folder;
    folder.write("old.txt", "a much longer earlier content");
    const std::string path = folder.windowsPath("old.txt");
    PlatformFile* file = FileOpen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(FileWrite(file, "new", 3), 3u);
    FileClose(file);
    PlatformFile* in = FileOpen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(readWhole(in), "new");
    FileClose(in);

    const mode_t mask = umask(0);
    umask(mask);
    PlatformFile* created = FileOpen(folder.windowsPath("fresh.txt").c_str(), "wb");
    ASSERT_NE(created, nullptr);
    FileClose(created);
    struct stat info {};
    ASSERT_EQ(stat((folder.path() / "fresh.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u & ~mask);
}

TEST(File, RefusesWhatItCannotOpen) {
    TempFolder folder;
    folder.write("present.txt", "x");
    EXPECT_EQ(FileOpen(folder.windowsPath("absent.txt").c_str(), "rb"), nullptr);
    EXPECT_EQ(FileOpen(folder.windowsPath("present.txt").c_str(), "a"), nullptr);
    EXPECT_EQ(FileOpen(folder.windowsPath("present.txt").c_str(), "r+"), nullptr);
    EXPECT_EQ(FileOpen(folder.windowsPath("no\\such\\folder.txt").c_str(), "wb"), nullptr);
    EXPECT_EQ(FileOpen("", "rb"), nullptr);
}

TEST(File, PathsShorterThanMaxPathOpenLongerOnesFail) {
    TempFolder folder;
    // Real, reachable files whose whole paths are MAX_PATH - 1 and MAX_PATH characters long.
    const int folderLength = static_cast<int>(folder.path().string().size()) + 1;
    ASSERT_LT(folderLength + 1, MAX_PATH);
    const std::string fits(static_cast<std::size_t>(MAX_PATH - 1 - folderLength), 'f');
    const std::string tooLong(static_cast<std::size_t>(MAX_PATH - folderLength), 'l');
    folder.write(fits, "x");
    folder.write(tooLong, "x");
    ASSERT_TRUE(std::filesystem::exists(folder.path() / tooLong));

    PlatformFile* file = FileOpen(folder.windowsPath(fits).c_str(), "rb");
    EXPECT_NE(file, nullptr);
    FileClose(file);
    EXPECT_EQ(FileOpen(folder.windowsPath(tooLong).c_str(), "rb"), nullptr);
    EXPECT_NE(FileRemove(folder.windowsPath(tooLong).c_str()), 0);
    EXPECT_EQ(FileRemove(folder.windowsPath(fits).c_str()), 0);
}

TEST(File, PoolRunsOutAndClosedSlotsAreReused) {
    TempFolder folder;
    folder.write("shared.txt", "abc");
    const std::string path = folder.windowsPath("shared.txt");
    std::vector<PlatformFile*> open;
    for (int i = 0; i < 256; ++i) {
        PlatformFile* file = FileOpen(path.c_str(), "rb");
        if (file == nullptr) {
            break;
        }
        open.push_back(file);
    }
    ASSERT_GE(open.size(), 2u);
    ASSERT_LT(open.size(), 256u) << "open files are expected to come from a fixed pool";
    EXPECT_EQ(FileOpen(path.c_str(), "rb"), nullptr);

    FileClose(open.front());
    PlatformFile* reused = FileOpen(path.c_str(), "rb");
    ASSERT_NE(reused, nullptr);
    EXPECT_EQ(readWhole(reused), "abc");
    open.front() = reused;
    for (PlatformFile* file : open) {
        FileClose(file);
    }
    // Every slot is free again.
    std::vector<PlatformFile*> again;
    for (std::size_t i = 0; i < open.size(); ++i) {
        again.push_back(FileOpen(path.c_str(), "rb"));
        EXPECT_NE(again.back(), nullptr);
    }
    for (PlatformFile* file : again) {
        FileClose(file);
    }
}

struct LineCase {
    const char* name;
    std::string content;
};

void PrintTo(const LineCase& lineCase, std::ostream* out) {
    *out << lineCase.name;
}

class FileReadLineTest : public ::testing::TestWithParam<std::tuple<LineCase, int /* capacity */>> {
};

TEST_P(FileReadLineTest, SplitsLinesExactlyAsFgets) {
    const auto& [lineCase, capacity] = GetParam();
    TempFolder folder;
    folder.write("lines.txt", lineCase.content);
    const std::string path = (folder.path() / "lines.txt").string();
    EXPECT_EQ(linesByFileReadLine(folder.windowsPath("lines.txt"), capacity),
              linesByFgets(path, capacity));
}

INSTANTIATE_TEST_SUITE_P(
    BufferBounds, FileReadLineTest,
    ::testing::Combine(
        ::testing::Values(LineCase{"Plain", "ab\ncdef\n\ngh"}, LineCase{"TrailingNewline", "2.0\n"},
                          LineCase{"CarriageReturns", "2.0\r\nnext\r\n"}, LineCase{"Empty", ""},
                          LineCase{"LongLine", std::string(1500, 'L') + "\nshort\n"},
                          LineCase{"ManyLines",
                                   [] {
                                       std::string text;
                                       for (int i = 0; i < 300; ++i) {
                                           text += "line " + std::to_string(i) + "\n";
                                       }
                                       return text;
                                   }()}),
        ::testing::Values(2, 3, 4, 5, 16, 511, 512, 513, 4096)),
    [](const auto& testParam) {
        return std::string(std::get<0>(testParam.param).name) + "Capacity" +
               std::to_string(std::get<1>(testParam.param));
    });

TEST(File, ReadAfterReadLineContinuesWhereTheLineEnded) {
    TempFolder folder;
    const std::string rest = std::string(2000, 'r') + "end";
    folder.write("mixed.txt", "first line\n" + rest);
    PlatformFile* file = FileOpen(folder.windowsPath("mixed.txt").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    char line[64];
    ASSERT_TRUE(FileReadLine(file, line, sizeof line));
    EXPECT_STREQ(line, "first line\n");
    EXPECT_EQ(readWhole(file), rest);
    FileClose(file);
}

TEST(File, LineBufferIsTerminatedEvenWhenNothingFits) {
    TempFolder folder;
    folder.write("a.txt", "abc\n");
    PlatformFile* file = FileOpen(folder.windowsPath("a.txt").c_str(), "rt");
    ASSERT_NE(file, nullptr);
    char buffer[4] = "xyz";
    EXPECT_FALSE(FileReadLine(file, buffer, 0));
    EXPECT_TRUE(FileReadLine(file, buffer, 1));
    EXPECT_STREQ(buffer, "");
    EXPECT_TRUE(FileReadLine(file, buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "abc");
    FileClose(file);
}

TEST(File, AllocationCounterSeesHeapUse) {
    // Guards the allocation tests below against a counter that never counts. The volatile
    // pointers keep the optimiser from removing the allocations.
    const long before = heapAllocationCount();
    void* volatile block = std::malloc(32);
    int* volatile object = new int(5);
    const long after = heapAllocationCount();
    std::free(block);
    delete object;
    EXPECT_GE(after - before, 2);
}

TEST(File, OpenReadWriteCloseAllocateNothing) {
    TempFolder folder;
    folder.write("in.txt", "first\nsecond\n");
    const std::string inPath = folder.windowsPath("in.txt");
    const std::string outPath = folder.windowsPath("out.bin");
    char line[32] = {};
    char data[8] = {};
    bool allOpened = true;

    const long before = heapAllocationCount();
    PlatformFile* out = FileOpen(outPath.c_str(), "wb");
    allOpened = allOpened && out != nullptr;
    FileWrite(out, "payload", 7);
    FileClose(out);
    PlatformFile* in = FileOpen(inPath.c_str(), "rt");
    allOpened = allOpened && in != nullptr;
    FileReadLine(in, line, sizeof line);
    FileRead(in, data, 3);
    FileClose(in);
    FileRemove(outPath.c_str());
    const long after = heapAllocationCount();

    EXPECT_TRUE(allOpened);
    EXPECT_STREQ(line, "first\n");
    EXPECT_EQ(std::string(data, 3), "sec");
    EXPECT_EQ(after - before, 0);
}

} // namespace
