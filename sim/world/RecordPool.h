// Storage for the host's records: 2 MB blocks of records side by side, never moved and never
// handed back before the pool ends. A walk over many vessels then finds their records packed
// together, rather than spread between everything else the heap gave out while they were made.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#if defined(_WIN32)
#include <malloc.h>
#elif defined(__linux__)
#include <sys/mman.h>
#endif

namespace vx {

template <class Record> class RecordPool {
public:
    RecordPool() = default;
    RecordPool(const RecordPool&) = delete;
    RecordPool& operator=(const RecordPool&) = delete;
    ~RecordPool() {
        for (std::size_t i = 0; i < count_; ++i) {
            at(i)->~Record();
        }
    }

    // A new record, default-constructed; it stays where it is until the pool ends.
    Record& make() {
        if (count_ == blocks_.size() * kBlock) {
            void* bytes = allocateBlock();
            if (bytes == nullptr) {
                throw std::bad_alloc();
            }
            blocks_.emplace_back(static_cast<std::byte*>(bytes));
        }
        Record* record = ::new (static_cast<void*>(slot(count_))) Record();
        ++count_;
        return *record;
    }

    std::size_t size() const { return count_; }

private:
    static constexpr std::size_t kBlockBytes = std::size_t{2} << 20;
    static constexpr std::size_t kBlock = kBlockBytes / sizeof(Record);
    static_assert(alignof(Record) <= kBlockBytes && kBlock > 0);
    static void* allocateBlock() {
#if defined(_WIN32)
        return _aligned_malloc(kBlockBytes, kBlockBytes);
#else
        void* bytes = std::aligned_alloc(kBlockBytes, kBlockBytes);
#if defined(__linux__)
        // One page-table entry for the whole block: a walk over thousands of records does
        // not stop at every page.
        if (bytes != nullptr) {
            madvise(bytes, kBlockBytes, MADV_HUGEPAGE);
        }
#endif
        return bytes;
#endif
    }
    struct FreeBlock {
        void operator()(std::byte* bytes) const {
#if defined(_WIN32)
            _aligned_free(bytes);
#else
            std::free(bytes);
#endif
        }
    };

    std::byte* slot(std::size_t i) {
        return blocks_[i / kBlock].get() + (i % kBlock) * sizeof(Record);
    }
    Record* at(std::size_t i) {
        return std::launder(reinterpret_cast<Record*>(slot(i)));
    }

    std::vector<std::unique_ptr<std::byte[], FreeBlock>> blocks_;
    std::size_t count_ = 0;
};

} // namespace vx
