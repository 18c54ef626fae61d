// Growable stack with a fixed growth step.
//
// Push grows the capacity by the increment when the stack is full; with an
// increment of 0 a full stack refuses the push (SSLifo0001e). Pop of an empty
// stack throws SSLifo0004e, top of an empty stack SSLifo0002e, and the entry
// at a depth not below the count SSLifo0003e. Depth 0 is the top.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "parser/ss_exception.h"

namespace tessel::parser {

template <class T>
class SSLifo {
  public:
    SSLifo(std::size_t capacity, std::size_t increment)
        : capacity_(capacity), increment_(increment) {
        withStorage([&] { slots_.resize(capacity_); });
        room_ = capacity_;
    }

    // A push into a free slot is a single store: the parser pushes once per
    // shift and once per reduction.
    [[gnu::always_inline]] void push(T item) {
        if (count_ == room_) makeRoom();
        slots_[count_++] = std::move(item);
    }

    T pop() {
        if (count_ == 0) throw SSException(SSError::LifoPopEmpty);
        return std::move(slots_[--count_]);
    }

    // Removes the top `count` entries, the top first. Precondition: count <=
    // count().
    void drop(std::size_t count) {
        for (; count != 0; --count) slots_[--count_] = T();
    }
    // The same, showing each entry to `visit` before it is removed (it may
    // move the entry out).
    template <class Visit>
    void drop(std::size_t count, Visit visit) {
        for (; count != 0; --count) {
            T& slot = slots_[--count_];
            visit(slot);
            slot = T();
        }
    }

    T& top() {
        if (count_ == 0) throw SSException(SSError::LifoNoTop);
        return slots_[count_ - 1];
    }
    const T& top() const {
        if (count_ == 0) throw SSException(SSError::LifoNoTop);
        return slots_[count_ - 1];
    }

    T& at(std::size_t depth) {
        if (depth >= count_) throw SSException(SSError::LifoInvalidIndex);
        return slots_[count_ - 1 - depth];
    }
    const T& at(std::size_t depth) const {
        if (depth >= count_) throw SSException(SSError::LifoInvalidIndex);
        return slots_[count_ - 1 - depth];
    }

    std::size_t count() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::size_t capacity() const { return capacity_; }
    void clear() { drop(count_); }

  private:
    // A full stack: grows the capacity by the increment (or refuses the
    // push) and, when the slots are used up, doubles them, which keeps deep
    // stacks linear.
    [[gnu::noinline]] void makeRoom() {
        if (count_ >= capacity_) {
            if (increment_ == 0) throw SSException(SSError::LifoStackFull);
            capacity_ += increment_;
        }
        if (count_ >= slots_.size()) {
            withStorage([&] { slots_.resize(std::max(capacity_, 2 * slots_.size())); });
        }
        room_ = std::min(capacity_, slots_.size());
    }

    // Slots [0, count_) hold the entries, the top last; the others are
    // empty (default values).
    std::vector<T> slots_;
    std::size_t count_ = 0;
    // Entries that fit before makeRoom() must run: the smaller of the
    // capacity and the slots.
    std::size_t room_ = 0;
    std::size_t capacity_;
    std::size_t increment_;
};

}  // namespace tessel::parser
