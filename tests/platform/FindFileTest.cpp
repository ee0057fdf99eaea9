// Directory searches as the module makes them: Windows patterns over a folder written with
// backslashes.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/WinApi.h"
#include "tests/platform/AllocationCounter.h"
#include "tests/platform/TempFolder.h"

namespace {

struct Entry {
    std::string name;
    DWORD attributes;
    bool operator<(const Entry& other) const { return name < other.name; }
};

// Every entry a search reports, in the order reported; empty when FindFirstFileA fails.
std::vector<Entry> findAll(const std::string& pattern) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        entries.push_back({found.cFileName, found.dwFileAttributes});
    } while (FindNextFileA(search, &found) != FALSE);
    EXPECT_EQ(FindClose(search), TRUE);
    return entries;
}

std::vector<std::string> sortedNames(const std::vector<Entry>& entries) {
    std::vector<std::string> names;
    for (const Entry& entry : entries) {
        names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class FindFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"alpha.cfg", "Beta.CFG", "gamma.txt", "delta.cfg.bak", "e.cfg",
                                 "ab.cfg", "[x].cfg", "x.cfg", ".hidden.cfg"}) {
            folder.write(name, "content");
        }
        std::filesystem::create_directory(folder.path() / "sub.cfg");
    }
    TempFolder folder;
};

struct PatternCase {
    const char* pattern;
    std::vector<std::string> expected; // sorted
};

void PrintTo(const PatternCase& patternCase, std::ostream* out) {
    *out << patternCase.pattern;
}

class FindFilePatternTest : public FindFileTest,
                            public ::testing::WithParamInterface<PatternCase> {};

TEST_P(FindFilePatternTest, ReportsExactlyTheMatchingNames) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(sortedNames(findAll(folder.windowsPath(c.pattern))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    WindowsRules, FindFilePatternTest,
    ::testing::Values(PatternCase{"*.cfg",
                                  {".hidden.cfg", "Beta.CFG", "[x].cfg", "ab.cfg", "alpha.cfg",
                                   "e.cfg", "sub.cfg", "x.cfg"}},
                      PatternCase{"?.cfg", {"e.cfg", "x.cfg"}}, PatternCase{"??.cfg", {"ab.cfg"}},
                      PatternCase{"ALPHA.cfg", {"alpha.cfg"}}, PatternCase{"b*", {"Beta.CFG"}},
                      PatternCase{"[x].cfg", {"[x].cfg"}}, PatternCase{"*.bak", {"delta.cfg.bak"}},
                      PatternCase{"*",
                                  {".hidden.cfg", "Beta.CFG", "[x].cfg", "ab.cfg", "alpha.cfg",
                                   "delta.cfg.bak", "e.cfg", "gamma.txt", "sub.cfg", "x.cfg"}},
                      PatternCase{"nothing*", {}}));

TEST_F(FindFileTest, SlashesAndBackslashesNameTheSameFolder) {
    const std::string slashes = (folder.path() / "*.txt").string();
    EXPECT_EQ(sortedNames(findAll(slashes)), std::vector<std::string>{"gamma.txt"});
    EXPECT_EQ(sortedNames(findAll(folder.windowsPath("*.txt"))),
              std::vector<std::string>{"gamma.txt"});
}

TEST_F(FindFileTest, RelativePatternsResolveFromTheWorkingFolder) {
    std::filesystem::create_directories(folder.path() / "config" / "CKITIdConfig");
    folder.write("config/CKITIdConfig/Capt.cfg", "");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const auto here = sortedNames(findAll("*.txt"));
    const auto below = sortedNames(findAll("config\\CKITIdConfig\\*.cfg"));
    std::filesystem::current_path(previous);
    EXPECT_EQ(here, std::vector<std::string>{"gamma.txt"});
    EXPECT_EQ(below, std::vector<std::string>{"Capt.cfg"});
}

TEST_F(FindFileTest, MarksFoldersAndFiles) {
    const auto entries = findAll(folder.windowsPath("*.cfg"));
    ASSERT_FALSE(entries.empty());
    for (const Entry& entry : entries) {
        const DWORD expected =
            entry.name == "sub.cfg" ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        EXPECT_EQ(entry.attributes, expected) << entry.name;
    }
}

TEST(FindFile, EmptyOrMissingFolderFindsNothing) {
    TempFolder empty;
    WIN32_FIND_DATAA found{};
    EXPECT_EQ(FindFirstFileA(empty.windowsPath("*").c_str(), &found), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstFileA(empty.windowsPath("missing\\*.cfg").c_str(), &found),
              INVALID_HANDLE_VALUE);
    // A folder named without a name pattern is not a search.
    EXPECT_EQ(FindFirstFileA((empty.windowsPath() + "\\").c_str(), &found), INVALID_HANDLE_VALUE);
}

TEST(FindFile, LongestNamesAreReportedWhole) {
    TempFolder folder;
    const std::string longest(255, 'n');
    folder.write(longest, "");
    const auto entries = findAll(folder.windowsPath("*"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, longest);
}

TEST(FindFile, ReportsEveryEntryOnceAcrossManyDirectoryReads) {
    // Far more entries than one read of the folder returns.
    TempFolder folder;
    std::set<std::string> expected;
    for (int i = 0; i < 400; ++i) {
        const std::string name = std::string(100, 'f') + std::to_string(i) + ".cfg";
        folder.write(name, "");
        expected.insert(name);
    }
    const auto entries = findAll(folder.windowsPath("*.CFG"));
    const auto names = sortedNames(entries);
    EXPECT_EQ(names.size(), expected.size());
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
}

TEST(FindFile, ClosedSearchIsNoLongerAHandle) {
    TempFolder folder;
    folder.write("a.cfg", "");
    folder.write("b.cfg", "");
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(folder.windowsPath("*.cfg").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindClose(search), TRUE);
    EXPECT_EQ(FindNextFileA(search, &found), FALSE);
    EXPECT_EQ(FindClose(search), FALSE);
    EXPECT_EQ(FindNextFileA(INVALID_HANDLE_VALUE, &found), FALSE);
}

TEST(FindFile, SearchesRunSideBySideAndSlotsAreReused) {
    TempFolder folder;
    folder.write("a.cfg", "");
    folder.write("b.cfg", "");
    const std::string pattern = folder.windowsPath("*.cfg");
    std::vector<HANDLE> open;
    WIN32_FIND_DATAA found{};
    for (int i = 0; i < 64; ++i) {
        HANDLE search = FindFirstFileA(pattern.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            break;
        }
        open.push_back(search);
    }
    ASSERT_GE(open.size(), 2u);
    ASSERT_LT(open.size(), 64u) << "searches are expected to come from a fixed pool";
    // Each open search keeps its own place.
    for (HANDLE search : open) {
        EXPECT_EQ(FindNextFileA(search, &found), TRUE);
        EXPECT_EQ(FindNextFileA(search, &found), FALSE);
    }
    EXPECT_EQ(FindClose(open.back()), TRUE);
    open.pop_back();
    HANDLE again = FindFirstFileA(pattern.c_str(), &found);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    open.push_back(again);
    for (HANDLE search : open) {
        EXPECT_EQ(FindClose(search), TRUE);
    }
}

TEST(FindFile, SearchAllocatesNothing) {
    TempFolder folder;
    folder.write("a.cfg", "");
    folder.write("b.cfg", "");
    const std::string pattern = folder.windowsPath("*.cfg");
    WIN32_FIND_DATAA found{};
    int reported = 0;
    const long before = heapAllocationCount();
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            ++reported;
        } while (FindNextFileA(search, &found) != FALSE);
        FindClose(search);
    }
    const long after = heapAllocationCount();
    EXPECT_EQ(reported, 2);
    EXPECT_EQ(after - before, 0);
}

} // namespace
