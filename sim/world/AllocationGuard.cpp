#include "sim/world/AllocationGuard.h"

#include <cerrno>
#include <cstddef>

// gcc says so with a macro, clang only through a feature test.
#if defined(__SANITIZE_ADDRESS__)
#define VX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VX_ADDRESS_SANITIZER 1
#endif
#endif

namespace vx {

namespace {

// The counter of the callback running now, or null. The host runs its world on one thread,
// and a thread-local would cost a call on every allocation of a library like this one.
std::uint64_t* liveCounter = nullptr;

inline void countAllocation() {
    if (liveCounter != nullptr) {
        ++*liveCounter;
    }
}

} // namespace

const char* guardedCallbackName(GuardedCallback callback) {
    switch (callback) {
    case GuardedCallback::PreStep:
        return "clbkPreStep";
    case GuardedCallback::PostStep:
        return "clbkPostStep";
    case GuardedCallback::Key:
        return "clbkConsumeBufferedKey";
    case GuardedCallback::DrawHud:
        return "clbkDrawHUD";
    case GuardedCallback::LoadState:
        return "clbkLoadStateEx";
    case GuardedCallback::SaveState:
        return "clbkSaveState";
    }
    return "?";
}

ModuleCallScope::ModuleCallScope(CallbackAllocations& into, GuardedCallback callback)
    : saved_(liveCounter) {
    liveCounter = &into.count[static_cast<int>(callback)];
}

ModuleCallScope::~ModuleCallScope() {
    liveCounter = saved_;
}

HostWorkScope::HostWorkScope() : saved_(liveCounter) {
    liveCounter = nullptr;
}

HostWorkScope::~HostWorkScope() {
    liveCounter = saved_;
}

} // namespace vx

#if defined(_WIN32)

// The C runtime of a Windows build offers no way in; the guard stays blind there.
bool vx::allocationGuardAvailable() {
    return false;
}

#elif defined(VX_ADDRESS_SANITIZER)

// The sanitizer owns malloc and reports every allocation it serves to these hooks; its runtime
// provides the function, no header declares it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*onAllocate)(const volatile void* block, std::size_t size),
    void (*onFree)(const volatile void* block));

namespace {
void onAllocate(const volatile void*, std::size_t) {
    vx::countAllocation();
}
void onFree(const volatile void*) {}
const int hooksInstalled = __sanitizer_install_malloc_and_free_hooks(onAllocate, onFree);
} // namespace

bool vx::allocationGuardAvailable() {
    return hooksInstalled != 0;
}

#else

// The malloc family exported from this library comes before the C library's in the lookup of
// every module loaded later, so their allocations (operator new included, which allocates
// through malloc) pass through here on their way to the C library's allocator.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);

#define VX_EXPORT_C __attribute__((visibility("default")))

VX_EXPORT_C void* malloc(std::size_t size) {
    vx::countAllocation();
    return __libc_malloc(size);
}
VX_EXPORT_C void* calloc(std::size_t count, std::size_t size) {
    vx::countAllocation();
    return __libc_calloc(count, size);
}
VX_EXPORT_C void* realloc(void* block, std::size_t size) {
    vx::countAllocation();
    return __libc_realloc(block, size);
}
VX_EXPORT_C void* memalign(std::size_t alignment, std::size_t size) {
    vx::countAllocation();
    return __libc_memalign(alignment, size);
}
VX_EXPORT_C void* aligned_alloc(std::size_t alignment, std::size_t size) {
    vx::countAllocation();
    return __libc_memalign(alignment, size);
}
VX_EXPORT_C int posix_memalign(void** block, std::size_t alignment, std::size_t size) {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) {
        return EINVAL;
    }
    vx::countAllocation();
    void* memory = __libc_memalign(alignment, size);
    if (memory == nullptr) {
        return ENOMEM;
    }
    *block = memory;
    return 0;
}
}

bool vx::allocationGuardAvailable() {
    return true;
}

#endif
