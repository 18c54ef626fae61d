#include "parser/ss_ref.h"

#include "parser/ss_exception.h"

namespace tessel::parser {

void SSRef::release(bool deleteAtZero) {
    if (refCount_ == 0) throw SSException(SSError::RefCountBelowZero);
    --refCount_;
    if (refCount_ == 0 && deleteAtZero) destroy();
}

}  // namespace tessel::parser
