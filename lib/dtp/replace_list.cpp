#include "dtp/replace_list.h"

#include "dtp/converter_log.h"
#include "dtp/error_ref.h"
#include "dtp/static_file_map.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "resources/markup_framework_texts.h"

namespace tessel::dtp {

namespace {

// The size of the steps in which the text after the last piece is written.
constexpr std::size_t kRestStep = 64 * 1024;

bool sameRange(const CTextPiece& a, const CTextPiece& b) {
    return a.fileRef == b.fileRef && a.startLine == b.startLine && a.startColumn == b.startColumn &&
           a.endLine == b.endLine && a.endColumn == b.endColumn;
}

}  // namespace

void CReplaceList::convertText(std::string&) {}
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
            return true;
        }
    }
    pieces_.push_front(std::move(piece));
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
    return removed;
}

bool CReplaceList::writePieces(CRCFile& input, CRCFile& output) {
    std::string text;
    std::string replacement;
    reserveTextRoom(text, 0);
    for (const auto& piece : pieces_) {
        const CTextPiece& range = piece->source();
        if (!input.readTo(text, range.startLine, range.startColumn)) return false;
        if (!text.empty()) {
            convertText(text);
            output.write(text);
        }
        if (!input.readTo(text, range.endLine, range.endColumn)) return false;
        replacement.clear();
        piece->appendReplacement(replacement, text);
        output.write(replacement);
    }
    if (!convertsLineByLine()) {
        if (!input.readRest(text)) return false;
        convertText(text);
        output.write(text);
        return true;
    }
    for (bool atEnd = false; !atEnd;) {
        if (!input.readRest(text, kRestStep, &atEnd)) return false;
        convertText(text);
        output.write(text);
    }
    return true;
}

bool CReplaceList::writeOutput(const std::string& inputName, const std::string& outputName) {
    const std::string& input = inputName.empty() ? fileName_ : inputName;
    if (input.empty() || outputName.empty()) return false;
    if (platform::sameNameIgnoringCase(input, outputName)) {
        reportMessage(platform::fillPlaceholders(resources::kSameInputAndOutput, {input}),
                      kMessageFile);
        return false;
    }
    CRCFile source;
    CRCFile output;
    source.setLineEnds(sourceLineEnds_);
    try {
        source.open(input, CRCFile::Direction::Input, true);
        output.open(outputName, CRCFile::Direction::Output, textMode_);
    } catch (const CFileException& error) {
        reportMessage(platform::fillPlaceholders(resources::kSkippingOutput,
                                                 {error.description(), outputName}),
                      kMessageFile);
        return false;
    }
    writeHeader(output);
    bool written = writePieces(source, output);
    if (written) writeFooter(output);
    source.close();
    bool flushed = output.close();
    if (written && !flushed) {
        reportMessage(platform::fillPlaceholders(resources::kFileReadError, {"write failed"}),
                      kMessageFile);
    }
    if (written && flushed) return true;
    // A partial output would be refused as existing by the next run.
    platform::removeFile(outputName);
    return false;
}

}  // namespace tessel::dtp
