// Growable stack with a fixed growth step.
//
// Push grows the capacity by the increment when the stack is full; with an
// increment of 0 a full stack refuses the push (SSLifo0001e). Pop of an empty
// stack throws SSLifo0004e, top of an empty stack SSLifo0002e, and the entry
// at a depth not below the count SSLifo0003e. Depth 0 is the top.
#pragma once

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
        withStorage([&] { items_.reserve(capacity_); });
    }

    void push(T item) {
        if (items_.size() >= capacity_) {
            if (increment_ == 0) throw SSException(SSError::LifoStackFull);
            capacity_ += increment_;
        }
        // The vector's own growth keeps deep stacks linear; capacity_ keeps
        // the stepwise limit that decides when a push is refused.
        withStorage([&] { items_.push_back(std::move(item)); });
    }

    T pop() {
        if (items_.empty()) throw SSException(SSError::LifoPopEmpty);
        T item = std::move(items_.back());
        items_.pop_back();
        return item;
    }

    // Removes the top `count` entries, the top first. Precondition: count <=
    // count().
    void drop(std::size_t count) {
        for (; count != 0; --count) items_.pop_back();
    }

    T& top() {
        if (items_.empty()) throw SSException(SSError::LifoNoTop);
        return items_.back();
    }
    const T& top() const {
        if (items_.empty()) throw SSException(SSError::LifoNoTop);
        return items_.back();
    }

    T& at(std::size_t depth) {
        if (depth >= items_.size()) throw SSException(SSError::LifoInvalidIndex);
        return items_[items_.size() - 1 - depth];
    }
    const T& at(std::size_t depth) const {
        if (depth >= items_.size()) throw SSException(SSError::LifoInvalidIndex);
        return items_[items_.size() - 1 - depth];
    }

    std::size_t count() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    std::size_t capacity() const { return capacity_; }
    void clear() { items_.clear(); }

  private:
    std::vector<T> items_;
    std::size_t capacity_;
    std::size_t increment_;
};

}  // namespace tessel::parser
