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
    kMessageWarning = 1,
    kMessageParseError = 2,
    kMessageDuplicateTranslation = 3,
    kMessageLineColumn = 50,
    kMessageFile = 51,
};

struct MessageReference {
    std::int16_t kind;
    const CTextPiece* piece;  // may be null: no reference
};

// Makes `log` the current log (null: none) whose next entry gets the number
// `nextEntry`: 1 for a log of its own, the job's next message number where
// the entries join the numbered messages of a line-oriented job's log.
void setCurrentConverterLog(platform::OutputStream* log, int nextEntry = 1);
platform::OutputStream* currentConverterLog();
// Entries written to the current log since it was set.
int converterLogEntryCount();
// The number the next entry of the current log gets.
int nextConverterLogEntry();

// Appends one entry: "\n[n]  ", the message, and one line per reference
// whose kind is not kNoReference and whose piece is present. Nothing is
// written when no log is current.
void reportMessage(std::string_view text, int type,
                   std::initializer_list<MessageReference> references = {});

// While an object of this class lives, entries are kept back in order
// instead of written: the output is written alongside the parse, but its
// entries belong after the parse's own. Released entries are numbered and
// written as reported; dropped ones are forgotten (the output of a parse cut
// short reports nothing).
class HeldConverterMessages {
  public:
    HeldConverterMessages();
    ~HeldConverterMessages();
    HeldConverterMessages(const HeldConverterMessages&) = delete;
    HeldConverterMessages& operator=(const HeldConverterMessages&) = delete;
};
void releaseHeldConverterMessages();
void dropHeldConverterMessages();

}  // namespace tessel::dtp
