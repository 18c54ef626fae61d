// The code pages the RTF reader reads bytes in: the font table's entries
// ("\fcharsetN", "\cpgN"), the document's "\ansicpgN", and the coding of
// each font worked out from them.
#include "frame/rtf_reader.h"
#include "frame/rtf_reader_bytes.h"
#include "resources/rtf_keywords.h"

namespace tessel::frame {

using namespace rtf_bytes;
using platform::CodePageCodec;

void RtfReader::fontTableFont(std::int32_t number) {
    ++outsideEffects_;
    codingChanged();
    fontEntry_ = number;
    if (fonts_.size() < kMaxFonts) fonts_.try_emplace(number);
}

// "\fcharsetN" or "\cpgN" of the font table entry being read.
void RtfReader::fontTableEntry(bool charset, std::int32_t value) {
    if (!group_.inFontTable) return;
    ++outsideEffects_;
    codingChanged();
    auto entry = fonts_.find(fontEntry_);
    if (entry == fonts_.end()) return;
    if (charset) {
        entry->second.charset = value;
    } else {
        entry->second.codePage = value;
    }
    entry->second.resolvedUnder = nullptr;
}

void RtfReader::documentCodePage(std::int32_t codePage) {
    ++outsideEffects_;
    codingChanged();
    const CodePageCodec* codec = CodePageCodec::find(codePage);
    documentCodec_ = codec != nullptr ? codec : &windows1252_;
    refreshCoding();
    sink_.documentCodePage(codePage);
}

RtfReader::ByteCoding RtfReader::findCodingOfFont(std::int32_t font) {
    FontEntry* found = findFont(font);
    if (found == nullptr) return {documentCodec_};
    FontEntry& entry = *found;
    if (entry.resolvedUnder != documentCodec_) {
        entry.resolved = resolveCoding(entry);
        entry.resolvedUnder = documentCodec_;
    }
    return entry.resolved;
}

// Keeps the entry found for codingOfFont() (entries of the map stay where
// they are, and none is removed).
RtfReader::FontEntry* RtfReader::findFont(std::int32_t font) {
    if (fonts_.empty()) return nullptr;
    auto found = fonts_.find(font);
    if (found == fonts_.end()) return nullptr;
    lastFont_ = font;
    lastFontEntry_ = &found->second;
    return lastFontEntry_;
}

RtfReader::ByteCoding RtfReader::resolveCoding(const FontEntry& entry) const {
    int codePage = entry.codePage;
    if (codePage <= 0 || CodePageCodec::find(codePage) == nullptr) {
        codePage = resources::rtfCharsetCodePage(entry.charset);
    }
    if (codePage == resources::kSymbolCharsetCodePage) return {nullptr};
    const CodePageCodec* codec = codePage > 0 ? CodePageCodec::find(codePage) : nullptr;
    return {codec != nullptr ? codec : documentCodec_};
}

void RtfReader::refreshCoding() {
    group_.coding = codingOfFont(group_.font);
    codingValid_ = true;
    if (group_.doubleByteFont >= 0) group_.doubleByteCoding = codingOfFont(group_.doubleByteFont);
}

}  // namespace tessel::frame
