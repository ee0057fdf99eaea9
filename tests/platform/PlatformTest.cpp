// The Windows calls the module makes, over POSIX: folder searches with Windows patterns and the
// file layer, both with backslash paths relative to the root, from fixed pools, on no heap.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/File.h"
#include "platform/WinApi.h"
#include "sim/world/AllocationGuard.h"
#include "tests/support/TestRoot.h"

namespace {

// The names a search reports, sorted, folders marked with a '/'; none when it fails.
std::set<std::string> findAll(const std::string& pattern) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        const DWORD kind = found.dwFileAttributes;
        names.insert(std::string(found.cFileName) + (kind == FILE_ATTRIBUTE_DIRECTORY ? "/"
                                                     : kind == FILE_ATTRIBUTE_NORMAL  ? ""
                                                                                      : "?"));
    }
    EXPECT_EQ(FindClose(search), search != INVALID_HANDLE_VALUE);
    return names;
}

TEST(FindFile, ReportsExactlyTheNamesAWindowsPatternMatches) {
    vxtest::TestRoot root;
    std::filesystem::create_directories("f/sub.cfg");
    for (const char* name : {"alpha.cfg", "Beta.CFG", "gamma.txt", "d.cfg.bak", "e.cfg", "ab.cfg",
                             "[x].cfg", ".hidden.cfg"}) {
        root.write(std::string("f/") + name, "");
    }
    root.write("f/" + std::string(255, 'n'), ""); // the longest name
    const std::pair<std::string, std::set<std::string>> cases[] = {
        {"f\\*.cfg",
         {".hidden.cfg", "Beta.CFG", "[x].cfg", "ab.cfg", "alpha.cfg", "e.cfg", "sub.cfg/"}},
        {"f/?.cfg", {"e.cfg"}},
        {"f\\??.cfg", {"ab.cfg"}},
        {"f\\ALPHA.cfg", {"alpha.cfg"}},
        {"f\\b*", {"Beta.CFG"}},
        {"f\\[x].cfg", {"[x].cfg"}},
        {"f\\*.bak", {"d.cfg.bak"}},
        {"f\\n*", {std::string(255, 'n')}},
        {"f\\nothing*", {}},
        {"f\\", {}},
        {"missing\\*.cfg", {}},
        {(root.path() / "f" / "*.txt").string(), {"gamma.txt"}},
    };
    for (const auto& [pattern, names] : cases) {
        EXPECT_EQ(findAll(pattern), names) << pattern;
    }
}

TEST(FindFile, SearchesOwnTheirPlaceReportEveryEntryOnceAndAllocateNothing) {
    vxtest::TestRoot root;
    std::set<std::string> many;
    for (int i = 0; i < 300; ++i) { // far more than one read of the folder returns
        const std::string name = std::string(100, 'f') + std::to_string(i) + ".cfg";
        root.write("config/" + name, "");
        many.insert(name);
    }
    EXPECT_EQ(findAll("config\\*.CFG"), many);
    vx::CallbackAllocations heap;
    std::vector<HANDLE> open;
    open.reserve(8);
    WIN32_FIND_DATAA found{};
    {
        vx::ModuleCallScope counting(heap, vx::GuardedCallback::PreStep);
        for (HANDLE search;
             (search = FindFirstFileA("meshes\\*", &found)) != INVALID_HANDLE_VALUE;) {
            open.push_back(search);
        }
        ASSERT_EQ(open.size(), 4u) << "searches come from a fixed pool";
        for (HANDLE search : open) {
            EXPECT_EQ(FindNextFileA(search, &found), FALSE) << "each keeps its own place";
            EXPECT_EQ(FindClose(search), TRUE);
        }
    }
    EXPECT_EQ(heap.total(), 0u);
    EXPECT_EQ(FindNextFileA(open[0], &found), FALSE);
    EXPECT_EQ(FindClose(open[0]), FALSE) << "a closed search is no longer a handle";
    EXPECT_NE(FindFirstFileA("meshes\\*", &found), INVALID_HANDLE_VALUE) << "slots come back";
}

TEST(File, ReadsLinesExactlyAsFgetsDoesWhateverTheBufferSize) {
    vxtest::TestRoot root;
    std::string many;
    for (int i = 0; i < 300; ++i) {
        many += "line " + std::to_string(i) + "\n";
    }
    for (const std::string& content :
         {std::string("ab\ncdef\n\ngh"), std::string("2.0\r\nnext\r\n"), std::string(),
          std::string(1500, 'L') + "\nshort\n", many}) {
        root.write("config/lines.txt", content);
        for (int capacity : {2, 3, 5, 16, 511, 512, 513, 4096}) {
            std::vector<std::string> ours, theirs;
            std::vector<char> line(static_cast<std::size_t>(capacity) + 1, 'X');
            PlatformFile* file = FileOpen("config\\lines.txt", "rt");
            while (FileReadLine(file, line.data(), capacity) && ours.size() < 2000) {
                ours.emplace_back(line.data());
            }
            FileClose(file);
            std::FILE* c = std::fopen("config/lines.txt", "r");
            while (std::fgets(line.data(), capacity, c) != nullptr && theirs.size() < 2000) {
                theirs.emplace_back(line.data());
            }
            std::fclose(c);
            EXPECT_EQ(ours, theirs) << capacity << ": " << content.substr(0, 20);
        }
    }
}

TEST(File, WritesReadsAndRemovesThroughBackslashPathsFromAFixedPoolOnNoHeap) {
    vxtest::TestRoot root;
    root.write("config/old.bin", "a much longer earlier content");
    std::string bytes;
    for (int i = 0; i < 3000; ++i) {
        bytes.push_back(static_cast<char>(i * 7 + 1));
    }
    vx::CallbackAllocations heap;
    std::vector<PlatformFile*> open;
    open.reserve(16);
    std::string rest(4000, '\0');
    char line[8];
    {
        vx::ModuleCallScope counting(heap, vx::GuardedCallback::PreStep);
        PlatformFile* out = FileOpen("config\\old.bin", "wb");
        EXPECT_EQ(FileWrite(out, bytes.data(), bytes.size()), bytes.size());
        FileClose(out);
        for (PlatformFile* file; (file = FileOpen("config\\old.bin", "rb")) != nullptr;) {
            open.push_back(file);
        }
        EXPECT_TRUE(FileReadLine(open[0], line, sizeof line));
        rest.resize(FileRead(open[0], rest.data(), rest.size()));
        for (PlatformFile* file : open) {
            FileClose(file);
        }
        EXPECT_EQ(FileRemove("config\\old.bin"), 0);
    }
    EXPECT_EQ(heap.total(), 0u);
    EXPECT_EQ(open.size(), 8u) << "files come from a fixed pool";
    EXPECT_EQ(line + rest, bytes) << "a read goes on where the line ended";
    EXPECT_FALSE(std::filesystem::exists("config/old.bin"));
    EXPECT_NE(FileRemove("config\\old.bin"), 0);
    root.write("present.txt", "x");
    const std::string name(MAX_PATH - root.path().string().size() - 1, 'l');
    root.write(name, "x");
    const std::string tooLong = (root.path() / name).string(); // MAX_PATH characters
    for (const auto& [path, mode] : {std::pair{"absent.txt", "rb"},
                                     {"present.txt", "a"},
                                     {"present.txt", "r+"},
                                     {"no\\such.txt", "wb"},
                                     {"", "rb"},
                                     {tooLong.c_str(), "rb"}}) {
        EXPECT_EQ(FileOpen(path, mode), nullptr) << path << " " << mode;
    }
    PlatformFile* fits = FileOpen(tooLong.substr(0, MAX_PATH - 1).c_str(), "wb");
    EXPECT_NE(fits, nullptr);
    FileClose(fits);
}

} // namespace
