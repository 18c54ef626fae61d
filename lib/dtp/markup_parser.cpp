#include "dtp/markup_parser.h"

#include <cstdint>
#include <tuple>

#include "dtp/converter_log.h"
#include "dtp/error_ref.h"
#include "dtp/rc_file.h"
#include "dtp/static_file_map.h"
#include "dtp/text_to_rtf_replace_piece.h"
#include "dtp/undecodable_source_lines.h"
#include "frame/dtp_text_headers.h"
#include "frame/return_codes.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "resources/markup_framework_texts.h"

namespace tessel::dtp {

using parser::SSException;
using parser::SSRefPtr;
using parser::SSToken;
using parser::SSYaccStackItem;

CMarkupParser::CMarkupParser(const std::string& sourceFile, std::string_view lexTable,
                             std::string_view lexTableType, std::string_view yaccTable,
                             std::string_view yaccTableType)
    : yaccTables_(parser::SSYaccTableSet::shared(yaccTable, yaccTableType)),
      input_(sourceFile, parser::SSLexInput::Multibyte, parser::SSLexFileInput::kBlock,
             parser::SSLexFileInput::kBlock),
      lexTables_(parser::SSLexTableSet::shared(lexTable, lexTableType)),
      sourceFile_(sourceFile),
      loggedSourceName_(sourceFile),
      fileRef_(registerSourceFile(sourceFile)),
      sourceFileNamed_(namesSourceFile(fileRef_)) {
    lexer_ = std::make_unique<parser::SSLex>(input_, lexTables_);
    setTable(yaccTables_);
    setLex(*lexer_);
    list_ = std::make_unique<CTextToRTFReplaceList>(sourceFile_);
    remakeBottomItem();
    // Every item of the stack comes from newStackItem(), which clears a spare.
    keepSpareItems();
}

CMarkupParser::~CMarkupParser() {
    // The log must not be written to once the run that opened it is over.
    if (currentConverterLog() == &log_) setCurrentConverterLog(nullptr);
}

void CMarkupParser::attachLexer(std::unique_ptr<parser::SSLex> lexer) {
    lexer->setTableSet(lexTables_);
    lexer->setInput(input_);
    lexer_ = std::move(lexer);
    setLex(*lexer_);
}

void CMarkupParser::attachReplacementList(std::unique_ptr<CTextToRTFReplaceList> list) {
    list_ = std::move(list);
}

SSYaccStackItem* CMarkupParser::newStackItem() {
    if (CMarkupStackItem* item = reusedItem()) return item;
    return parser::withStorage([&] { return new CMarkupStackItem(fileRef_); });
}

SSRefPtr<SSYaccStackItem> CMarkupParser::emptyResult(std::uint32_t length) {
    if (length == 0) return SSRefPtr<SSYaccStackItem>(newStackItem());
    CMarkupStackItem& first = markupItem(0);
    first.clear(fileRef_);
    return SSRefPtr<SSYaccStackItem>(&first);
}

namespace {

// The range of `item` with empty text: its piece when valid (`pieceValid`),
// else that of its token, else an unset piece of `fileRef`.
CTextPiece itemRange(const CMarkupStackItem& item, bool pieceValid, std::int32_t fileRef) {
    const CTextPiece& piece = item.piece;
    if (pieceValid) {
        return CTextPiece(std::string(), piece.startLine, piece.startColumn, piece.endLine,
                          piece.endColumn, piece.fileRef);
    }
    if (const SSToken* token = item.token()) {
        return CTextPiece::rangeOfLexeme(token->textView(),
                                         static_cast<std::uint32_t>(token->line()),
                                         static_cast<std::uint32_t>(token->offset()), fileRef);
    }
    CTextPiece unset;
    unset.fileRef = fileRef;
    return unset;
}

// The text that goes with itemRange(): that of the item's valid piece, else
// that of its token.
std::string_view itemText(const CMarkupStackItem& item, bool pieceValid) {
    if (pieceValid) return item.piece.text;
    const SSToken* token = item.token();
    return token != nullptr ? token->textView() : std::string_view();
}

}  // namespace

CTextPiece CMarkupParser::symbolPiece(std::int32_t index) const {
    const CMarkupStackItem& item = markupItem(index);
    bool pieceValid = isValidPiece(item.piece);
    CTextPiece piece = itemRange(item, pieceValid, fileRef_);
    piece.text = itemText(item, pieceValid);
    return piece;
}

void CMarkupParser::widenBySymbol(CTextPiece& piece, std::int32_t index) const {
    const CMarkupStackItem& item = markupItem(index);
    bool pieceValid = isValidPiece(piece);
    if (isValidPiece(item.piece)) {
        piece.widenBy(item.piece, pieceValid, true);
        return;
    }
    CTextPiece other = itemRange(item, false, fileRef_);
    piece.widenBy(other, pieceValid, pieceValid && isValidPiece(other));
}

CTextPiece CMarkupParser::piecesFor(std::int32_t a, std::int32_t b) const {
    // The range is settled before the text is copied, once.
    const CMarkupStackItem& first = markupItem(a);
    bool firstValid = isValidPiece(first.piece);
    CTextPiece piece = itemRange(first, firstValid, fileRef_);
    if (b != a) widenBySymbol(piece, b);
    piece.text = itemText(first, firstValid);
    return piece;
}

namespace {

// Pieces are looked for that can be written after this many more were added.
constexpr std::size_t kWriteStep = 256;

struct Position {
    std::uint32_t line;
    std::uint32_t column;
};

}  // namespace

void CMarkupParser::writeSettledPieces() {
    // No later piece starts before the lowest item whose range a reduction
    // may still mark: later pieces come from stack items and from tokens
    // still to be read, which start after every piece of the list ends.
    Position settled{UINT32_MAX, UINT32_MAX};
    for (std::size_t depth = 0, n = stackDepth(); depth < n; ++depth) {
        const auto& item = *static_cast<const CMarkupStackItem*>(stackItem(depth));
        if (!item.mayStartPiece) continue;
        Position start{};
        if (isValidPiece(item.piece)) {
            start = {item.piece.startLine, item.piece.startColumn};
        } else if (const SSToken* token = item.token()) {
            // A token without a position (the error token) settles nothing.
            start = {static_cast<std::uint32_t>(token->line()),
                     static_cast<std::uint32_t>(token->offset())};
        } else {
            continue;
        }
        if (std::tie(start.line, start.column) < std::tie(settled.line, settled.column)) {
            settled = start;
        }
    }
    HeldConverterMessages held;
    list_->writeBefore(settled.line, settled.column);
    nextWrite_ = list_->pieces().size() + kWriteStep;
}

void CMarkupParser::addPiece(CTextPiece&& piece, std::int32_t kind) {
    list_->add(std::make_unique<CTextToRTFReplacePiece>(std::move(piece), kind));
    if (list_->pieces().size() >= nextWrite_) writeSettledPieces();
}

void CMarkupParser::addInternal(CTextPiece piece) {
    addPiece(std::move(piece), list_->internalKind());
}
void CMarkupParser::markInternal(std::int32_t a, std::int32_t b) {
    addInternal(piecesFor(a, b));
}
void CMarkupParser::addExternal(CTextPiece piece) {
    addPiece(std::move(piece), kRtfPieceExternal);
}
void CMarkupParser::markExternal(std::int32_t a, std::int32_t b) {
    addExternal(piecesFor(a, b));
}
void CMarkupParser::addRemoved(CTextPiece piece) {
    addPiece(std::move(piece), kRtfPieceRemoved);
}
void CMarkupParser::markRemoved(std::int32_t a, std::int32_t b) {
    addRemoved(piecesFor(a, b));
}

void CMarkupParser::markByteOrderMarkExternal() {
    byteOrderMarkExternal_ = true;
}

std::string CMarkupParser::expectedText(std::uint32_t state) const {
    std::vector<std::int32_t> symbols = expectedTokens(state);
    std::string text;
    bool skippedError = false;
    for (std::size_t i = 0, n = symbols.size(); i < n; ++i) {
        if (symbols[i] == parser::kSSYaccErrorSymbol) {
            skippedError = true;
            continue;
        }
        std::string_view name = lex()->tokenName(symbols[i]);
        if (i == 0 || (i == 1 && skippedError)) {
            text = std::string(resources::kExpectedPrefix) + std::string(name);
        } else {
            text += i + 1 == n ? resources::kExpectedLastSeparator : resources::kExpectedSeparator;
            text += name;
        }
    }
    return text;
}

int CMarkupParser::syntaxError(std::uint32_t state, SSToken& lookahead) {
    std::string expected = expectedText(state);
    // Copied now: recovery moves the lookahead on and may release the token.
    std::string tokenText(lookahead.textView());
    CTextPiece reference =
        CTextPiece::fromLexeme(tokenText, static_cast<std::uint32_t>(lookahead.line()),
                               static_cast<std::uint32_t>(lookahead.offset()), fileRef_);
    int result = 0;
    try {
        result = recover();
    } catch (const SSException&) {
        if (reportSyntaxErrors_) {
            reportMessage(platform::fillPlaceholders(resources::kUnexpectedTextNoRecovery,
                                                     {tokenText, expected}),
                          kMessageParseError, {{kReferenceSource, &reference}});
        }
        throw;
    }
    if (reportSyntaxErrors_) {
        reportMessage(platform::fillPlaceholders(resources::kUnexpectedText, {tokenText, expected}),
                      kMessageParseError, {{kReferenceSource, &reference}});
    }
    return result;
}

bool CMarkupParser::run() {
    if (ran_) return false;
    ran_ = true;
    try {
        parse();
        return true;
    } catch (const SSException& error) {
        reportMessage(platform::fillPlaceholders(resources::kParseError, {error.message()}),
                      kMessageParseError);
    } catch (const CFileException&) {
        reportMessage(resources::kParseFileError, kMessageFile);
    } catch (const std::exception&) {
    }
    return false;
}

bool CMarkupParser::openLog(const std::string& logName) {
    // A log that cannot be created still counts its entries, so the result
    // tells that something went wrong.
    setCurrentConverterLog(&log_);
    if (!log_.open(logName, platform::StreamMode::Text)) return false;
    log_.write(
        platform::fillPlaceholders(resources::kMarkupParserLogHeader,
                                   {platform::localTimeFormatted("%m/%d/%y"),
                                    platform::localTimeFormatted("%H:%M:%S"), loggedSourceName_}));
    return true;
}

int CMarkupParser::finishLog(int result, const std::string& logName, const std::string& output) {
    int entries = converterLogEntryCount();
    log_.close();
    setCurrentConverterLog(nullptr);
    // A log that holds nothing (the disk was full) is not kept or pointed to;
    // entries that could not be written leave the run failed, and a failed
    // run leaves no RTF.
    bool logLost = platform::removeIfEmpty(logName);
    if (entries != 0) {
        if (result < 0) return result;
        if (!logLost) return frame::kErrorsInLog;
        platform::removeFile(output);
        return kOutputNotWritten;
    }
    platform::removeFile(logName);
    return result;
}

int CMarkupParser::runWithLog(const std::string& outputName) {
    std::string output = outputName.empty() ? platform::withExtension(
                                                  sourceFile_, resources::kConverterOutputExtension)
                                            : outputName;
    // Whatever the case of its extension, an existing output is never replaced.
    if (!overwrite_ && platform::outputExists(output)) return frame::kOutputExists;
    std::string logName = platform::withExtension(sourceFile_, resources::kConverterLogExtension);
    openLog(logName);
    std::size_t piecesBefore = list_->count();
    // The output is written while the parse goes on; what its writing
    // reports is logged after the parse's own entries, and only when the
    // parse was not cut short (then the output is removed).
    {
        HeldConverterMessages held;
        list_->beginOutput(sourceFile_, output);
    }
    // The mark's run comes first, before any piece the parse records.
    if (byteOrderMarkExternal_) {
        list_->add(std::make_unique<CTextToRTFReplacePiece>(
            CTextPiece::fromLexeme(frame::kUtf8ByteOrderMark, 1, 1, fileRef_), kRtfPieceExternal));
    }
    nextWrite_ = list_->pieces().size() + kWriteStep;
    if (!run()) {
        dropHeldConverterMessages();
        list_->abandonOutput();
        return finishLog(kParseCutShort, logName, output);
    }
    // Bytes the source's encoding gives no character are logged with their
    // lines, after the parse's entries and before the output's.
    reportUndecodableSourceLines(sourceFile_, activeSourceCharacters());
    releaseHeldConverterMessages();
    if (!list_->finishOutput()) return finishLog(kOutputNotWritten, logName, output);
    auto changes = static_cast<int>(list_->count() - piecesBefore);
    log_.write(
        platform::fillPlaceholders(resources::kMarkupParserLogTrailer, {std::to_string(changes)}));
    return finishLog(changes, logName, output);
}

}  // namespace tessel::dtp
