// The user's encoding choices, held for the jobs that follow in this process:
// the encoding a mark-up job reads a source in when the file itself declares
// none, and the code page an 8-bit back-conversion writes when the document
// declares none. Empty and 0 stand for the format's own default.
#pragma once

#include <string>
#include <string_view>

namespace tessel::frame {

struct EncodingChoice {
    std::string sourceEncoding;   // an encoding name as the user gave it; empty: none
    unsigned targetCodePage = 0;  // a Windows code page number; 0: none
};

// The library-wide choice; set through the exports, read by the jobs.
EncodingChoice& encodingChoice();

// The code page the last 8-bit back-conversion wrote because its document
// said so (a byte-order mark, a QuarkXPress header declaring Unicode) while
// another code page was chosen; 0 when the choice, or nothing, decided. The
// exports reset it before a job and report it after.
int& declaredOverChosenCodePage();

}  // namespace tessel::frame
