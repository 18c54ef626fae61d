#include "markup/carry_over_buffer.h"

namespace tessel::markup {

std::string& carryOverBuffer() {
    static std::string buffer;
    return buffer;
}

}  // namespace tessel::markup
