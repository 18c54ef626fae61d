#include "parser/ss_ref.h"

#include "parser/ss_exception.h"

namespace tessel::parser {

void SSRef::release(bool deleteAtZero) {
    if (refCount_ == 0) throw SSException(SSError::RefCountBelowZero);
    --refCount_;
    if (refCount_ == 0 && deleteAtZero) destroy();
}

void SSRef::releaseHeld() noexcept {
    // A holder's reference may have been released behind its back; then the
    // count is already 0 and there is nothing left to give up.
    if (refCount_ == 0) return;
    if (--refCount_ == 0) destroy();
}

}  // namespace tessel::parser
