// Reference-counted base of tokens and parser stack items.
//
// A new object has count 0 and belongs to whoever takes the first reference.
// Whoever stores a pointer adds a reference first and releases the object it
// held before. Releasing an object whose count is already 0 is an error
// (SSRef0001e); releasing the last reference with the delete flag destroys
// the object. SSRefPtr does the adding and releasing for C++ holders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "parser/ss_block_pool.h"

namespace tessel::parser {

class SSRef {
  public:
    SSRef(const SSRef&) = delete;
    SSRef& operator=(const SSRef&) = delete;

    // Count + 1. Not virtual: every holder of a token or stack item calls it,
    // several times per lexeme.
    void addRef() { ++refCount_; }
    // Deletes the object (tokens with inline text free their single block).
    virtual void destroy() { delete this; }
    // Count - 1; throws SSRef0001e when the count is already 0. When the count
    // drops from 1 to 0 and `deleteAtZero` is set, the object destroys itself.
    void release(bool deleteAtZero = true);

    std::int32_t refCount() const { return refCount_; }

    // Tokens and stack items come and go with every lexeme: their blocks are
    // recycled (the size given back is that of the most derived object).
    static void* operator new(std::size_t size) { return allocatePooledBlock(size); }
    static void operator delete(void* block, std::size_t size) noexcept {
        releasePooledBlock(block, size);
    }

  protected:
    // Starts at 1 and releases once without deleting: a fresh object has 0.
    SSRef() = default;
    virtual ~SSRef() = default;

  private:
    // Release for holders that know they own a reference; never throws. A
    // holder's reference may have been released behind its back; then the
    // count is already 0 and there is nothing left to give up.
    void releaseHeld() noexcept {
        if (refCount_ == 0) return;
        if (--refCount_ == 0) destroy();
    }
    template <class T>
    friend class SSRefPtr;

    std::int32_t refCount_ = 0;
};

// Holds one reference to an SSRef-derived object.
template <class T>
class SSRefPtr {
  public:
    SSRefPtr() = default;
    SSRefPtr(std::nullptr_t) {}
    // Takes a reference to `object` (which may be fresh, with count 0).
    explicit SSRefPtr(T* object) : object_(object) {
        if (object_ != nullptr) object_->addRef();
    }
    template <class U>
    SSRefPtr(const SSRefPtr<U>& other) : SSRefPtr(other.get()) {}
    SSRefPtr(const SSRefPtr& other) : SSRefPtr(other.object_) {}
    SSRefPtr(SSRefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    SSRefPtr& operator=(SSRefPtr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~SSRefPtr() {
        if (object_ != nullptr) object_->releaseHeld();
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    void reset() { SSRefPtr().swap(*this); }
    // Empties the pointer and gives up its reference without destroying the
    // object: the object is returned with its count lowered by one (0 when
    // this was the last holder), for a caller that takes it over.
    T* giveUp() noexcept {
        T* object = std::exchange(object_, nullptr);
        if (object != nullptr && object->refCount_ != 0) --object->refCount_;
        return object;
    }
    void swap(SSRefPtr& other) noexcept { std::swap(object_, other.object_); }

  private:
    T* object_ = nullptr;
};

// Takes the first reference to a freshly made object.
template <class T>
SSRefPtr<T> adoptRef(T* object) {
    return SSRefPtr<T>(object);
}

}  // namespace tessel::parser
