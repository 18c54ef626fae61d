#include "dtp/replace_list.h"

#include <optional>
#include <tuple>

#include "dtp/converter_log.h"
#include "dtp/error_ref.h"
#include "dtp/static_file_map.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/spare_buffer.h"
#include "resources/markup_framework_texts.h"

namespace tessel::dtp {

namespace {

// The size of the steps in which the text after the last piece is written.
constexpr std::size_t kRestStep = 64 * 1024;
// The output of this many bytes of pieces, and the text before them, goes out
// in one write.
constexpr std::size_t kWriteStep = 32 * 1024;

// True when `piece` ends at or before (line, column) and starts before it:
// no piece that starts there or later overlaps it, claims its range or
// encloses it.
bool liesBefore(const CTextPiece& piece, std::uint32_t line, std::uint32_t column) {
    auto limit = std::tie(line, column);
    return std::tie(piece.endLine, piece.endColumn) <= limit &&
           std::tie(piece.startLine, piece.startColumn) < limit;
}

bool sameRange(const CTextPiece& a, const CTextPiece& b) {
    return a.fileRef == b.fileRef && a.startLine == b.startLine && a.startColumn == b.startColumn &&
           a.endLine == b.endLine && a.endColumn == b.endColumn;
}

}  // namespace

void CReplaceList::appendConverted(std::string& out, std::string_view text) {
    out += text;
}

bool CReplaceList::appendConvertedLine(std::string& out, std::string_view text, std::size_t) {
    if (CRCFile::holdsLineEnd(text)) return false;
    if (!text.empty()) appendConverted(out, text);
    return true;
}

std::optional<std::size_t> CReplaceList::appendConvertedLines(std::string& out,
                                                              std::string_view bytes,
                                                              std::uint32_t lineEnds,
                                                              std::uint32_t column) {
    std::optional<std::size_t> size = CRCFile::lengthToColumn(bytes, lineEnds, column);
    if (!size) return std::nullopt;
    // Converted as read: each CR is that of a CR LF.
    readText_.clear();
    std::string_view text = bytes.substr(0, *size);
    for (std::size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r')) {
        readText_ += text.substr(0, cr);
        text.remove_prefix(cr + 1);
    }
    readText_ += text;
    appendConverted(out, readText_);
    return size;
}

void CReplaceList::convertText(std::string& text) {
    platform::rebuildInPlace(text,
                             [&](std::string& converted) { appendConverted(converted, text); });
}

void CReplaceList::writeFooter(CRCFile&) {}
void CReplaceList::writeHeader(CRCFile&) {}

bool CReplaceList::claimedRange(const CReplacePiece& existing, const CReplacePiece& added) const {
    return sameRange(existing.source(), added.source());
}

void CReplaceList::reportDuplicate(const CReplacePiece& existing,
                                   const CReplacePiece& added) const {
    std::string message = platform::fillPlaceholders(
        resources::kDuplicateTranslation,
        {existing.source().text, existing.replacementFor({}), added.replacementFor({})});
    CTextPiece existingReplacement = existing.replacementPiece();
    CTextPiece addedReplacement = added.replacementPiece();
    reportMessage(message, kMessageDuplicateTranslation,
                  {{kReferenceSource, &existing.source()},
                   {kReferenceReplacement, &existingReplacement},
                   {kReferenceReplacement, &addedReplacement}});
}

bool CReplaceList::add(std::unique_ptr<CReplacePiece> piece) {
    if (!piece || piece->changesNothing()) return false;
    if (pieces_.empty()) {
        if (fileName_.empty()) fileName_ = sourceFileName(piece->source().fileRef);
        pieces_.push_back(std::move(piece));
        ++kept_;
        return true;
    }
    // Pieces mostly come in source order: a piece that covers something and
    // starts where the last one (ending after its start) ends or later
    // neither claims nor overlaps it, and goes to the end at once.
    const CTextPiece& last = pieces_.back()->source();
    const CTextPiece& added = piece->source();
    if (added.fileRef == last.fileRef && !added.isEmpty() && last.endKey() > last.startKey() &&
        added.startKey() >= last.endKey()) {
        pieces_.push_back(std::move(piece));
        ++kept_;
        return true;
    }
    for (auto it = pieces_.end(); it != pieces_.begin();) {
        --it;
        const CReplacePiece& existing = **it;
        if (claimedRange(existing, *piece)) {
            if (piece->replacementFor({}) != existing.replacementFor({})) {
                reportDuplicate(existing, *piece);
            }
            return false;
        }
        const CTextPiece& added = piece->source();
        if (!added.overlaps(existing.source()) && !added.comesBefore(existing.source())) {
            pieces_.insert(std::next(it), std::move(piece));
            ++kept_;
            return true;
        }
    }
    pieces_.push_front(std::move(piece));
    ++kept_;
    return true;
}

std::size_t CReplaceList::removeEnclosedBy(const CTextPiece& range) {
    // Pieces are in source order, so the enclosed ones are at the end; the
    // walk stops at the first piece that starts before the range.
    std::size_t removed = 0;
    for (auto it = pieces_.end(); it != pieces_.begin();) {
        --it;
        const CTextPiece& piece = (*it)->source();
        if (piece.fileRef != range.fileRef || piece.startsBefore(range)) break;
        if (piece.endsAfter(range)) continue;
        it = pieces_.erase(it);
        ++removed;
    }
    kept_ -= removed;
    return removed;
}

bool CReplaceList::writeFrontPiece() {
    const std::size_t written = text_.size();
    if (!writeFrontPieceFromBuffer()) {
        text_.resize(written);
        if (!writeFrontPieceInSteps()) return false;
    }
    if (text_.size() >= kWriteStep) writePending();
    return true;
}

bool CReplaceList::writeFrontPieceFromBuffer() {
    // Most pieces lie on one line, with the text before them, in the input's
    // buffer: both are converted from there by scans that also find the line
    // ends they may cross.
    const CReplacePiece& piece = *pieces_.front();
    const CTextPiece& range = piece.source();
    if (range.startLine != range.endLine || range.endColumn < range.startColumn) return false;
    std::optional<CRCFile::Ahead> ahead = source_.peekAhead(range.startLine, range.startColumn);
    if (!ahead) return false;
    std::optional<std::size_t> before;
    if (ahead->lineEnds == 0) {
        if (ahead->size <= ahead->bytes.size() &&
            appendConvertedLine(text_, ahead->bytes.substr(0, ahead->size), ahead->bytes.size())) {
            before = ahead->size;
        }
    } else {
        before = appendConvertedLines(text_, ahead->bytes, ahead->lineEnds, range.startColumn);
    }
    const std::size_t covered = range.endColumn - range.startColumn;
    if (!before || ahead->bytes.size() - *before < covered) return false;
    const std::size_t readable = ahead->bytes.size() - *before;
    if (!piece.appendLineReplacement(text_, ahead->bytes.substr(*before, covered), readable)) {
        return false;
    }
    source_.skipAhead(*before + covered, range.startLine, range.endColumn);
    return true;
}

bool CReplaceList::writeFrontPieceInSteps() {
    const CReplacePiece& piece = *pieces_.front();
    const CTextPiece& range = piece.source();
    // Each view is used up before the next read, which may refill the buffer
    // it points into.
    std::string_view source;
    if (!source_.viewTo(source, readText_, range.startLine, range.startColumn)) return false;
    if (!source.empty()) appendConverted(text_, source);
    if (!source_.viewTo(source, readText_, range.endLine, range.endColumn)) return false;
    piece.appendReplacement(text_, source);
    return true;
}

void CReplaceList::writePending() {
    output_.write(text_);
    text_.clear();
}

bool CReplaceList::writeRest() {
    for (; !pieces_.empty(); pieces_.pop_front()) {
        if (!writeFrontPiece()) break;
    }
    writePending();
    if (!pieces_.empty()) return false;
    if (!convertsLineByLine()) {
        if (!source_.readRest(text_)) return false;
        convertText(text_);
        output_.write(text_);
        return true;
    }
    for (bool atEnd = false; !atEnd;) {
        if (!source_.readRest(text_, kRestStep, &atEnd)) return false;
        convertText(text_);
        output_.write(text_);
    }
    return true;
}

CReplaceList::~CReplaceList() {
    abandonOutput();
}

bool CReplaceList::beginOutput(const std::string& inputName, const std::string& outputName) {
    const std::string& input = inputName.empty() ? fileName_ : inputName;
    if (input.empty() || outputName.empty()) return false;
    if (platform::sameNameIgnoringCase(input, outputName)) {
        reportMessage(platform::fillPlaceholders(resources::kSameInputAndOutput, {input}),
                      kMessageFile);
        return false;
    }
    source_.setLineEnds(sourceLineEnds_);
    try {
        source_.open(input, CRCFile::Direction::Input, true);
        output_.open(outputName, CRCFile::Direction::Output, textMode_);
    } catch (const CFileException& error) {
        source_.close();
        reportMessage(platform::fillPlaceholders(resources::kSkippingOutput,
                                                 {error.description(), outputName}),
                      kMessageFile);
        return false;
    }
    outputName_ = outputName;
    open_ = true;
    failed_ = false;
    text_.clear();
    reserveTextRoom(text_, 0);
    writeHeader(output_);
    return true;
}

void CReplaceList::writeBefore(std::uint32_t line, std::uint32_t column) {
    // After a failure the pieces are still taken off the list, so that it
    // stays short; the output is removed in the end.
    while (!pieces_.empty() && liesBefore(pieces_.front()->source(), line, column)) {
        if (open_ && !failed_ && !writeFrontPiece()) failed_ = true;
        pieces_.pop_front();
    }
    if (open_) writePending();
}

bool CReplaceList::finishOutput() {
    if (!open_) return false;
    bool complete = !failed_ && writeRest();
    if (complete) writeFooter(output_);
    source_.close();
    bool flushed = output_.close();
    open_ = false;
    if (complete && !flushed) {
        reportMessage(platform::fillPlaceholders(resources::kFileReadError, {"write failed"}),
                      kMessageFile);
    }
    if (complete && flushed) return true;
    // A partial output would be refused as existing by the next run.
    platform::removeFile(outputName_);
    return false;
}

void CReplaceList::abandonOutput() {
    if (!open_) return;
    source_.close();
    output_.close();
    open_ = false;
    platform::removeFile(outputName_);
}

bool CReplaceList::writeOutput(const std::string& inputName, const std::string& outputName) {
    return beginOutput(inputName, outputName) && finishOutput();
}

}  // namespace tessel::dtp
