#include "parser/ss_exception.h"

#include <array>
#include <charconv>

namespace tessel::parser {

namespace {

struct CatalogueEntry {
    SSError error;
    std::int32_t code;
    const char* format;
};

// The runtime's messages: code and printf-style format (only %s and %ld).
constexpr std::array<CatalogueEntry, 28> kCatalogue{{
    {SSError::OutOfStorage, -1, "SSException0001e: Out of storage"},
    {SSError::LexOpenFile, 1, "SSLex0101e: Error opening file, %s, %ld"},
    {SSError::LexFileLength, 2, "SSLex0102e: Invalid file length or read error, %s, %ld"},
    {SSError::LexLexemeTooLong, 3, "SSLex0103e: Lexeme too long, %ld"},
    {SSError::LexInvalidTable, 4, "SSLex0104e: Invalid table, %s"},
    {SSError::LexInvalidToken, 5, "SSLex0105e: Invalid token, Line %ld, Offset %ld, %s"},
    {SSError::LexInvalidExpressionList, 6, "SSLex0106e: Invalid expression list index, %ld"},
    {SSError::LexMissingTableOrInput, 7, "SSLex0107e: Table or consumer missing, required"},
    {SSError::LifoStackFull, 8, "SSLifo0001e: Stack full"},
    {SSError::LifoNoTop, 9, "SSLifo0002e: No top, stack empty"},
    {SSError::LifoPopEmpty, 10, "SSLifo0004e: Cannot pop empty stack"},
    {SSError::LifoInvalidIndex, 11, "SSLifo0003e: Invalid index"},
    {SSError::YaccOpenFile, 12, "SSYacc0101e: Open file failed, %s"},
    {SSError::YaccParseFailed, 13, "SSYacc0102e: Parse failed, invalid table"},
    {SSError::YaccReadPastEof, 14, "SSYacc0103e: Attempted read past eof"},
    {SSError::YaccErrorTokenFailed, 16, "SSYacc0105e: Error token failed, no valid token"},
    {SSError::YaccInvalidGoto, 18, "SSYacc0107e: Invalid goto on %ld"},
    {SSError::YaccInvalidElementIndex, 19,
     "SSYacc0108e: Invalid index on elementFromProduction, %ld"},
    {SSError::YaccTableMissing, 20, "SSYacc0109e: setTable missing, required"},
    {SSError::YaccLexMissing, 21, "SSYacc0110e: setLex missing, required"},
    {SSError::YaccTableReadError, 22, "SSYacc0111e: Error reading table, %s"},
    {SSError::SetFull, 23, "SSSetArray0001e: Set full"},
    {SSError::RefCountBelowZero, 28, "SSRef0001e: Reference count less than zero"},
    {SSError::YaccInvalidState, 35, "SSYacc0114e: Invalid state specified, %ld"},
    {SSError::LexResourceNotFound, 36, "SSLex0108e: Resource not found, %s"},
    {SSError::YaccResourceNotFound, 37, "SSYacc0115e: Resource not found, %s"},
    {SSError::LexInvalidKeywordIndex, 44, "SSLex0110e: Invalid keyword index, %ld"},
    {SSError::MessageTooLong, 46, "SSException0002e: sprintf msg too long"},
}};

const CatalogueEntry& entryOf(SSError error) {
    for (const auto& entry : kCatalogue) {
        if (entry.error == error) return entry;
    }
    return kCatalogue.back();  // unreachable: every SSError has an entry
}

// Appends one placeholder's value. A string argument ends at its first zero
// byte, as a C string would.
void appendArg(std::string& out, const SSMessageArg& arg) {
    if (const long* number = std::get_if<long>(&arg)) {
        char digits[24];
        auto result = std::to_chars(digits, digits + sizeof digits, *number);
        out.append(digits, result.ptr);
        return;
    }
    std::string_view text = std::get<std::string_view>(arg);
    out.append(text.substr(0, text.find('\0')));
}

// Expands %s and %ld in `format`; a placeholder without an argument expands
// to nothing so that a mismatch can never read beyond the argument list.
std::string expand(std::string_view format, std::initializer_list<SSMessageArg> args) {
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (format.substr(i, 3) == "%ld") {
            i += 2;
        } else if (format.substr(i, 2) == "%s") {
            i += 1;
        } else {
            out += format[i];
            continue;
        }
        if (next != args.end()) appendArg(out, *next++);
    }
    return out;
}

std::string cut(std::string_view text) {
    return std::string(text.substr(0, SSException::kMaxMessage));
}

}  // namespace

std::int32_t ssErrorCode(SSError error) {
    return entryOf(error).code;
}

SSException::SSException(SSError error, std::initializer_list<SSMessageArg> args)
    : code_(entryOf(error).code) {
    std::string text = expand(entryOf(error).format, args);
    if (text.size() >= kFormatArea) {
        code_ = entryOf(SSError::MessageTooLong).code;
        text = entryOf(SSError::MessageTooLong).format;
    }
    message_ = cut(text);
}

SSException::SSException(std::int32_t code, std::string_view message)
    : code_(code), message_(cut(message)) {}

}  // namespace tessel::parser
