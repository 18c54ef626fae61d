#include "dtp/text_to_rtf_replace_piece.h"

#include "dtp/rc_file.h"
#include "dtp/source_characters.h"
#include "parser/ss_block_pool.h"
#include "resources/markup_framework_texts.h"
#include "resources/rtf_texts.h"

namespace tessel::dtp {

namespace {

// Tag text escaped, decoded first when the source is (source_characters.h).
void appendTagText(std::string& out, std::string_view text) {
    if (const SourceCharacters& characters = activeSourceCharacters(); characters.decodes()) {
        appendDecodedRtfEscaped(out, text, characters);
    } else {
        appendConverterRtfEscaped(out, text);
    }
}

bool appendTagTextOnLine(std::string& out, std::string_view text, std::size_t readable) {
    if (const SourceCharacters& characters = activeSourceCharacters(); characters.decodes()) {
        if (CRCFile::holdsLineEnd(text)) return false;
        appendDecodedRtfEscaped(out, text, characters);
        return true;
    }
    return appendConverterRtfEscapedLine(out, text, readable);
}

void appendTagRun(std::string& out, std::string_view opening, std::string_view text,
                  bool dropLineEnds) {
    out += opening;
    if (dropLineEnds && text.find('\n') != std::string_view::npos) {
        appendTagText(out, withoutLineEnds(text));
    } else {
        appendTagText(out, text);
    }
    out += resources::kTagClose;
}

bool appendLineTagRun(std::string& out, std::string_view opening, std::string_view text,
                      std::size_t readable) {
    out += opening;
    if (!appendTagTextOnLine(out, text, readable)) return false;
    out += resources::kTagClose;
    return true;
}

}  // namespace

std::string withoutLineEnds(std::string_view text) {
    std::string joined;
    joined.reserve(text.size());
    for (char c : text) {
        if (c != '\n') joined += c;
    }
    return joined;
}

void* CTextToRTFReplacePiece::operator new(std::size_t size) {
    return parser::allocatePooledBlock(size);
}

void CTextToRTFReplacePiece::operator delete(void* memory, std::size_t size) {
    parser::releasePooledBlock(memory, size);
}

std::string CTextToRTFReplacePiece::replacementFor(std::string_view sourceText) const {
    std::string out;
    appendReplacement(out, sourceText);
    return out;
}

bool CTextToRTFReplacePiece::appendLineReplacement(std::string& out, std::string_view sourceText,
                                                   std::size_t readable) const {
    // Text on one line has no line end to drop: the joined kinds write it as
    // the others do.
    switch (kind_) {
        case kRtfPieceInternal:
        case kRtfPieceJoinedInternal:
            return appendLineTagRun(out, resources::kInternalTagOpen, sourceText, readable);
        case kRtfPieceExternal:
        case kRtfPieceJoinedExternal:
            return appendLineTagRun(out, resources::kExternalTagOpen, sourceText, readable);
        case kRtfPieceJoinedText:
            return appendTagTextOnLine(out, sourceText, readable);
        default:
            return CReplacePiece::appendLineReplacement(out, sourceText, readable);
    }
}

void CTextToRTFReplacePiece::appendReplacement(std::string& out,
                                               std::string_view sourceText) const {
    switch (kind_) {
        case kRtfPieceReplacementText:
            appendTagText(out, replacementText());
            return;
        case kRtfPieceInternal:
            return appendTagRun(out, resources::kInternalTagOpen, sourceText, false);
        case kRtfPieceExternal:
            return appendTagRun(out, resources::kExternalTagOpen, sourceText, false);
        case kRtfPieceJoinedText:
            appendTagText(out, withoutLineEnds(sourceText));
            return;
        case kRtfPieceJoinedInternal:
            return appendTagRun(out, resources::kInternalTagOpen, sourceText, true);
        case kRtfPieceJoinedExternal:
            return appendTagRun(out, resources::kExternalTagOpen, sourceText, true);
        default:  // kRtfPieceRemoved and unknown kinds: nothing
            return;
    }
}

}  // namespace tessel::dtp
