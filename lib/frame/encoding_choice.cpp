#include "frame/encoding_choice.h"

namespace tessel::frame {

EncodingChoice& encodingChoice() {
    static EncodingChoice choice;
    return choice;
}

}  // namespace tessel::frame
