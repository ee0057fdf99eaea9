// The Windows calls the module makes, over POSIX: folder searches with Windows patterns and the
// file layer, both with backslash paths relative to the root, from fixed pools, on no heap.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/File.h"
#include "platform/WinApi.h"
#include "sim/world/AllocationGuard.h"
#include "tests/support/TestRoot.h"

namespace {

// The names a search reports, folders marked with a '/'; none when it fails.
std::set<std::string> findAll(const std::string& pattern) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        names.insert(found.cFileName +
                     std::string(found.dwFileAttributes == FILE_ATTRIBUTE_NORMAL ? "" : "/"));
    }
    FindClose(search);
    return names;
}

TEST(FindFile, ReportsExactlyTheNamesAWindowsPatternMatchesFromAFixedPoolOnNoHeap) {
    vxtest::TestRoot root;
    std::set<std::string> many; // far more than one read of the folder returns
    for (int i = 0; i < 300; ++i) {
        root.write("config/CKITIdConfig/" +
                       *many.insert(std::string(99, 'f') + std::to_string(i) + ".cfg").first,
                   "");
    }
    EXPECT_EQ(findAll("config\\CKITIdConfig\\*.CFG"), many);
    for (const char* name : {"alpha.cfg", "Beta.CFG", "gamma.txt", "d.cfg.bak", "e.cfg", "ab.cfg",
                             "[x].cfg", ".hidden.cfg"}) {
        root.write(std::string("config/") + name, "");
    }
    const std::pair<std::string, std::set<std::string>> cases[] = {
        {"config\\*.cfg", {".hidden.cfg", "Beta.CFG", "[x].cfg", "ab.cfg", "alpha.cfg", "e.cfg"}},
        {"config/?.cfg", {"e.cfg"}},
        {"config\\??.cfg", {"ab.cfg"}},
        {"config\\[x].cfg", {"[x].cfg"}},
        {"config\\*.bak", {"d.cfg.bak"}},
        {"config\\C*", {"CKITIdConfig/"}},
        {"config\\", {}},
        {"missing\\*.cfg", {}},
        {(root.path() / "config" / "*.txt").string(), {"gamma.txt"}},
    };
    for (const auto& [pattern, names] : cases) {
        EXPECT_EQ(findAll(pattern), names) << pattern;
    }
    vx::CallbackAllocations heap;
    HANDLE open[5];
    WIN32_FIND_DATAA found{};
    {
        vx::ModuleCallScope counting(heap, vx::GuardedCallback::PreStep);
        for (HANDLE& search : open) {
            search = FindFirstFileA("meshes\\*", &found);
        }
        EXPECT_EQ(open[4], INVALID_HANDLE_VALUE) << "searches come from a pool of four";
        for (HANDLE search : {open[0], open[1], open[2], open[3]}) {
            EXPECT_EQ(FindNextFileA(search, &found), FALSE) << "each keeps its own place";
            EXPECT_EQ(FindClose(search), TRUE);
        }
    }
    EXPECT_EQ(heap.total(), 0u);
    EXPECT_EQ(FindClose(open[0]), FALSE) << "a closed search is no longer a handle";
}

TEST(File, ReadsLinesAsFgetsAndWritesReadsAndRemovesFromAFixedPoolOnNoHeap) {
    vxtest::TestRoot root;
    root.write("config/lines.txt", "ab\ncdef\n\ngh\r\n" + std::string(1500, 'L') + "\nshort");
    for (int capacity : {2, 3, 5, 16, 512, 513, 4096}) {
        std::vector<std::string> ours, theirs;
        std::vector<char> line(static_cast<std::size_t>(capacity), 'X');
        PlatformFile* file = FileOpen("config\\lines.txt", "rt");
        while (FileReadLine(file, line.data(), capacity)) {
            ours.emplace_back(line.data());
        }
        FileClose(file);
        std::FILE* c = std::fopen("config/lines.txt", "r");
        while (std::fgets(line.data(), capacity, c) != nullptr) {
            theirs.emplace_back(line.data());
        }
        std::fclose(c);
        EXPECT_EQ(ours, theirs) << capacity;
    }
    std::string bytes = "first line\n";
    for (int i = 0; i < 3000; ++i) {
        bytes.push_back(static_cast<char>(i * 7));
    }
    vx::CallbackAllocations heap;
    PlatformFile* open[9];
    std::string rest(4000, '\0');
    char line[32];
    {
        vx::ModuleCallScope counting(heap, vx::GuardedCallback::PreStep);
        PlatformFile* out = FileOpen("config\\lines.txt", "wb"); // the old content goes
        EXPECT_EQ(FileWrite(out, bytes.data(), bytes.size()), bytes.size());
        FileClose(out);
        for (PlatformFile*& file : open) {
            file = FileOpen("config\\lines.txt", "rb");
        }
        EXPECT_EQ(open[8], nullptr) << "files come from a pool of eight";
        EXPECT_TRUE(FileReadLine(open[0], line, sizeof line));
        rest.resize(FileRead(open[0], rest.data(), rest.size()));
        for (PlatformFile* file : open) {
            FileClose(file);
        }
        EXPECT_EQ(FileRemove("config\\lines.txt"), 0);
    }
    EXPECT_EQ(heap.total(), 0u);
    EXPECT_EQ(line + rest, bytes) << "a read goes on where the line ended";
    EXPECT_NE(FileRemove("config\\lines.txt"), 0);
    const std::string tooLong = (root.path() / std::string(MAX_PATH, 'l')).string();
    EXPECT_EQ(FileOpen(tooLong.substr(0, MAX_PATH).c_str(), "wb"), nullptr);
    EXPECT_EQ(FileOpen("meshes", "r+"), nullptr) << "only the modes the module uses";
    PlatformFile* fits = FileOpen(tooLong.substr(0, MAX_PATH - 1).c_str(), "wb");
    EXPECT_NE(fits, nullptr) << "a path shorter than MAX_PATH opens";
    FileClose(fits);
}

} // namespace
