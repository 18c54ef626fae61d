// The parser runtime's single error channel.
//
// Every failure of the lexer, the parser and their support classes is an
// SSException thrown by value: a signed code and a message of at most 127
// characters. The codes and message formats live in one catalogue
// (ss_exception.cpp) and are named by SSError.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace tessel::parser {

// Catalogue entries; the comment gives the code.
enum class SSError {
    OutOfStorage,              // -1
    LexOpenFile,               // 1  (file name, system error number)
    LexFileLength,             // 2  (file name, 0)
    LexLexemeTooLong,          // 3  (bytes in the buffer)
    LexInvalidTable,           // 4  (table name)
    LexInvalidToken,           // 5  (line, offset, text)
    LexInvalidExpressionList,  // 6  (list index)
    LexMissingTableOrInput,    // 7
    LifoStackFull,             // 8
    LifoNoTop,                 // 9
    LifoPopEmpty,              // 10
    LifoInvalidIndex,          // 11
    YaccOpenFile,              // 12 (file name)
    YaccParseFailed,           // 13
    YaccReadPastEof,           // 14
    YaccErrorTokenFailed,      // 16
    YaccInvalidGoto,           // 18 (symbol)
    YaccInvalidElementIndex,   // 19 (index)
    YaccTableMissing,          // 20
    YaccLexMissing,            // 21
    YaccTableReadError,        // 22 (table name)
    SetFull,                   // 23
    RefCountBelowZero,         // 28
    YaccInvalidState,          // 35 (state)
    LexResourceNotFound,       // 36 (resource name)
    YaccResourceNotFound,      // 37 (resource name)
    LexInvalidKeywordIndex,    // 44 (table index)
    MessageTooLong,            // 46
};

// An argument for a %s or %ld placeholder of a catalogue format.
using SSMessageArg = std::variant<long, std::string_view>;

class SSException : public std::exception {
  public:
    // Longest message kept; longer texts are cut.
    static constexpr std::size_t kMaxMessage = 127;
    // Size of the work area messages are formatted in; a text that needs
    // this many characters or more is replaced by SSException0002e.
    static constexpr std::size_t kFormatArea = 512;

    // Formats the catalogue entry `error` with `args` in placeholder order.
    explicit SSException(SSError error, std::initializer_list<SSMessageArg> args = {});
    // A code and text of the caller's own (cut to 127 characters).
    SSException(std::int32_t code, std::string_view message);

    std::int32_t code() const noexcept { return code_; }
    const std::string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    std::int32_t code_;
    std::string message_;
};

// Thrown whenever an allocation made by the runtime fails.
class SSExceptionOutOfStorage : public SSException {
  public:
    SSExceptionOutOfStorage() : SSException(SSError::OutOfStorage) {}
};

// Code of a catalogue entry.
std::int32_t ssErrorCode(SSError error);

// Runs `work`, turning a failed allocation into SSExceptionOutOfStorage.
template <class Work>
decltype(auto) withStorage(Work&& work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        throw SSExceptionOutOfStorage();
    }
}

}  // namespace tessel::parser
