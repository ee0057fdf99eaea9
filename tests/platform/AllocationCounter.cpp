#include "tests/platform/AllocationCounter.h"

#include <atomic>
#include <cstddef>

namespace {
std::atomic<long> allocations{0};
}

long heapAllocationCount() {
    return allocations.load();
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer owns malloc; it reports every allocation it serves through these hooks. Its
// runtime provides the function; the compiler ships no header for it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*onAllocate)(const volatile void* block, std::size_t size),
    void (*onFree)(const volatile void* block));

namespace {
void onAllocate(const volatile void*, std::size_t) {
    ++allocations;
}
void onFree(const volatile void*) {}
[[maybe_unused]] const int hooksInstalled =
    __sanitizer_install_malloc_and_free_hooks(onAllocate, onFree);
} // namespace
#else
// Without the sanitizer, the program's own malloc family takes precedence over the C
// library's and forwards to it; operator new allocates through malloc.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);

void* malloc(std::size_t size) {
    ++allocations;
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    ++allocations;
    return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) {
    ++allocations;
    return __libc_realloc(block, size);
}
void* memalign(std::size_t alignment, std::size_t size) {
    ++allocations;
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    ++allocations;
    return __libc_memalign(alignment, size);
}
}
#endif
