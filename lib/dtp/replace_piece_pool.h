// Memory for replace pieces, which a converter makes and frees by the ten
// thousand, one per tag: freed blocks of one size are kept on a list of the
// thread and handed out again, without a trip through the general allocator.
#pragma once

#include <cstddef>
#include <new>

namespace tessel::dtp {

template <std::size_t kBlockSize>
class ReplacePiecePool {
  public:
    static void* allocate() {
        FreeList& list = freeList();
        if (list.head == nullptr) return ::operator new(kBlockSize);
        Block* block = list.head;
        list.head = block->next;
        --list.count;
        return block;
    }

    static void release(void* memory) {
        FreeList& list = freeList();
        // Past the limit a block goes back to the general allocator, so that a
        // file that held many pieces at once does not keep their memory.
        if (list.count == kKeptBlocks) {
            ::operator delete(memory);
            return;
        }
        auto* block = static_cast<Block*>(memory);
        block->next = list.head;
        list.head = block;
        ++list.count;
    }

  private:
    struct Block {
        Block* next;
    };
    static_assert(kBlockSize >= sizeof(Block));
    static constexpr std::size_t kKeptBlocks = 4096;

    struct FreeList {
        FreeList() = default;
        FreeList(const FreeList&) = delete;
        FreeList& operator=(const FreeList&) = delete;
        ~FreeList() {
            while (head != nullptr) {
                Block* next = head->next;
                ::operator delete(head);
                head = next;
            }
        }
        Block* head = nullptr;
        std::size_t count = 0;
    };

    static FreeList& freeList() {
        thread_local FreeList list;
        return list;
    }
};

}  // namespace tessel::dtp
