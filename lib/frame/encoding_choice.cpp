#include "frame/encoding_choice.h"

namespace tessel::frame {

EncodingChoice& encodingChoice() {
    static EncodingChoice choice;
    return choice;
}

int& declaredOverChosenCodePage() {
    static int codePage = 0;
    return codePage;
}

}  // namespace tessel::frame
