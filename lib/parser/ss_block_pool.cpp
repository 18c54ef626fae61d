#include "parser/ss_block_pool.h"

#include <new>

namespace tessel::parser {

namespace pool_detail {

constinit thread_local FreeLists freeLists [[gnu::tls_model("initial-exec")]]{};

namespace {

// Set once the thread's drain has run: from then on nothing is kept.
constinit thread_local bool drained = false;

void drainAll() noexcept {
    for (std::size_t c = 0; c < kClasses; ++c) {
        while (FreeBlock* block = freeLists.head[c]) {
            unpoison(block, classSize(c));
            freeLists.head[c] = block->next;
            ::operator delete(block);
        }
        freeLists.count[c] = 0;
    }
}

struct Drainer {
    ~Drainer() {
        freeLists.keeping = false;
        drained = true;
        drainAll();
    }
};

// Registers the thread-end drain the first time the thread keeps a block.
void startKeeping() {
    static thread_local Drainer drainer;
    (void)drainer;
    freeLists.keeping = true;
}

}  // namespace

void* allocateFromHeap(std::size_t size) {
    // Pooled sizes take their whole class, so that any kept block fits.
    return ::operator new(size <= kSSBlockPoolLimit ? classSize(classOf(size)) : size);
}

void releaseSlowly(void* block, std::size_t size) noexcept {
    if (block == nullptr) return;
    if (size > kSSBlockPoolLimit) {
        ::operator delete(block);
        return;
    }
    if (!freeLists.keeping && !drained) {
        try {
            startKeeping();
        } catch (...) {
            // Without the drain registered nothing is kept.
        }
        if (freeLists.keeping) {
            releasePooledBlock(block, size);
            return;
        }
    }
    ::operator delete(block);
}

}  // namespace pool_detail

std::size_t pooledBlocksFree(std::size_t size) {
    using namespace pool_detail;
    return size > kSSBlockPoolLimit ? 0 : freeLists.count[classOf(size)];
}

}  // namespace tessel::parser
