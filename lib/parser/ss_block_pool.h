// Recycles the small blocks of tokens and parser stack items.
//
// A parse makes and frees one token and one stack item for nearly every
// lexeme. Freed blocks are kept on per-thread free lists, one per 16-byte
// size class up to kSSBlockPoolLimit bytes, and handed out again; larger
// blocks, and blocks beyond a per-class cap, go straight to the global heap.
// Blocks kept when a thread ends are given back to the heap then. Under the
// address sanitizer kept blocks are poisoned, so a use after release is
// still reported.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define TESSEL_POOL_POISON 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSEL_POOL_POISON 1
#endif
#endif
#ifdef TESSEL_POOL_POISON
#include <sanitizer/asan_interface.h>
#endif

namespace tessel::parser {

// Largest block size the pool recycles.
inline constexpr std::size_t kSSBlockPoolLimit = 256;
// Free blocks kept per size class.
inline constexpr std::uint32_t kSSBlockPoolCap = 1024;

namespace pool_detail {

inline constexpr std::size_t kGranule = 16;
inline constexpr std::size_t kClasses = kSSBlockPoolLimit / kGranule;

struct FreeBlock {
    FreeBlock* next;
};

// Trivially destructible, so it stays usable while other thread-local
// objects are destroyed; `drained` then sends every block to the heap.
struct FreeLists {
    FreeBlock* head[kClasses];
    std::uint32_t count[kClasses];
    bool keeping;  // the thread-end drain is registered and has not run
};

// Initial-exec: the library is loaded with the program, and a pool access in
// the shared library then costs no call to find the thread's block.
extern constinit thread_local FreeLists freeLists [[gnu::tls_model("initial-exec")]];

inline std::size_t classOf(std::size_t size) {
    return size == 0 ? 0 : (size - 1) / kGranule;
}
inline std::size_t classSize(std::size_t sizeClass) {
    return (sizeClass + 1) * kGranule;
}
inline void poison([[maybe_unused]] void* block, [[maybe_unused]] std::size_t size) {
#ifdef TESSEL_POOL_POISON
    ASAN_POISON_MEMORY_REGION(block, size);
#endif
}
inline void unpoison([[maybe_unused]] void* block, [[maybe_unused]] std::size_t size) {
#ifdef TESSEL_POOL_POISON
    ASAN_UNPOISON_MEMORY_REGION(block, size);
#endif
}

void* allocateFromHeap(std::size_t size);
void releaseSlowly(void* block, std::size_t size) noexcept;

}  // namespace pool_detail

// A kept block of at least `size` bytes, or nullptr when the pool keeps
// none: a caller can take it without the allocation path's error handling.
inline void* takeKeptBlock(std::size_t size) {
    using namespace pool_detail;
    if (size <= kSSBlockPoolLimit) {
        std::size_t c = classOf(size);
        if (FreeBlock* block = freeLists.head[c]) {
            unpoison(block, classSize(c));
            freeLists.head[c] = block->next;
            --freeLists.count[c];
            return block;
        }
    }
    return nullptr;
}

// A block of at least `size` bytes (std::bad_alloc when none can be had).
inline void* allocatePooledBlock(std::size_t size) {
    if (void* block = takeKeptBlock(size)) return block;
    return pool_detail::allocateFromHeap(size);
}

// Gives back a block from allocatePooledBlock(`size`) (same size).
inline void releasePooledBlock(void* block, std::size_t size) noexcept {
    using namespace pool_detail;
    if (block != nullptr && size <= kSSBlockPoolLimit && freeLists.keeping) {
        std::size_t c = classOf(size);
        if (freeLists.count[c] < kSSBlockPoolCap) {
            auto* kept = static_cast<FreeBlock*>(block);
            kept->next = freeLists.head[c];
            freeLists.head[c] = kept;
            ++freeLists.count[c];
            poison(kept, classSize(c));
            return;
        }
    }
    releaseSlowly(block, size);
}

// Free blocks the calling thread keeps for blocks of `size` bytes.
std::size_t pooledBlocksFree(std::size_t size);

}  // namespace tessel::parser
