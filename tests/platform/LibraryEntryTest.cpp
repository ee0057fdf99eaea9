// The library entry routine's emulation and GetProcAddress, on a library built like a module.
#include <vector>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "platform/WinApi.h"

namespace {

struct EntryCall {
    HINSTANCE module;
    DWORD reason;
};

std::vector<EntryCall> entryCalls;

} // namespace

extern "C" __attribute__((visibility("default"))) void recordEntryCall(HINSTANCE module,
                                                                       DWORD reason) {
    entryCalls.push_back({module, reason});
}

namespace {

class LibraryEntryTest : public ::testing::Test {
protected:
    void SetUp() override { entryCalls.clear(); }
};

TEST_F(LibraryEntryTest, LoadAndUnloadCallDllMainWithTheLibrarysOwnHandle) {
    void* library = dlopen(PLATFORM_ENTRY_PROBE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    ASSERT_EQ(entryCalls.size(), 1u);
    EXPECT_EQ(entryCalls[0].reason, static_cast<DWORD>(DLL_PROCESS_ATTACH));
    EXPECT_EQ(entryCalls[0].module, library);

    ASSERT_EQ(dlclose(library), 0);
    ASSERT_EQ(entryCalls.size(), 2u);
    EXPECT_EQ(entryCalls[1].reason, static_cast<DWORD>(DLL_PROCESS_DETACH));
    EXPECT_EQ(entryCalls[1].module, library);
}

TEST_F(LibraryEntryTest, EntryRoutineLeavesNoExtraReferenceBehind) {
    void* library = dlopen(PLATFORM_ENTRY_PROBE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    ASSERT_EQ(dlclose(library), 0);
    // One dlclose for one dlopen unloads it.
    EXPECT_EQ(dlopen(PLATFORM_ENTRY_PROBE, RTLD_NOW | RTLD_NOLOAD), nullptr);
}

TEST_F(LibraryEntryTest, GetProcAddressFindsOnlyTheLibrarysOwnExports) {
    void* library = dlopen(PLATFORM_ENTRY_PROBE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();

    FARPROC exported = GetProcAddress(library, "probeExport");
    ASSERT_NE(exported, nullptr);
    EXPECT_EQ(reinterpret_cast<int (*)()>(exported)(), 42);
    EXPECT_EQ(GetProcAddress(library, "probeHidden"), nullptr);
    EXPECT_EQ(GetProcAddress(library, "ExitModule"), nullptr);
    // Found through the library's dependencies by dlsym, but not one of its exports.
    ASSERT_NE(dlsym(library, "dlopen"), nullptr);
    EXPECT_EQ(GetProcAddress(library, "dlopen"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "probeExport"), nullptr);

    dlclose(library);
}

} // namespace
