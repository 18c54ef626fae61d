// The log of the grammar-driven converters: the process-wide current log
// file and its entry counter, and reportMessage, through which the pieces,
// lists, line/column reader and the parser write numbered entries.
#pragma once

#include <initializer_list>
#include <string_view>

#include "dtp/text_piece.h"
#include "platform/streams.h"

namespace tessel::dtp {

// Message types.
enum MessageType : int {
    kMessageParseError = 2,
    kMessageDuplicateTranslation = 3,
    kMessageLineColumn = 50,
    kMessageFile = 51,
};

struct MessageReference {
    std::int16_t kind;
    const CTextPiece* piece;  // may be null: no reference
};

// Makes `log` the current log (null: none) and sets the entry count to 0.
void setCurrentConverterLog(platform::OutputStream* log);
platform::OutputStream* currentConverterLog();
// Entries written to the current log since it was set.
int converterLogEntryCount();

// Appends one entry: "\n[n]  ", the message, and one line per reference
// whose kind is not kNoReference and whose piece is present. Nothing is
// written when no log is current.
void reportMessage(std::string_view text, int type,
                   std::initializer_list<MessageReference> references = {});

}  // namespace tessel::dtp
