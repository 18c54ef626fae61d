#include "parser/ss_set_array.h"

#include <algorithm>

#include "parser/ss_exception.h"

namespace tessel::parser {

SSSetArray::SSSetArray(std::size_t capacity, std::size_t increment)
    : increment_(increment), capacity_(capacity) {
    withStorage([&] { items_.reserve(capacity_); });
}

bool SSSetArray::contains(std::int32_t member) const {
    return std::find(items_.begin(), items_.end(), member) != items_.end();
}

void SSSetArray::add(std::int32_t member) {
    if (contains(member)) return;
    if (items_.size() >= capacity_) {
        if (increment_ == 0) throw SSException(SSError::SetFull);
        capacity_ += increment_;
    }
    withStorage([&] { items_.push_back(member); });
}

}  // namespace tessel::parser
