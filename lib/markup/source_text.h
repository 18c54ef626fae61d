// Text of a source read in its own encoding (markup/source_encoding.h): each
// line turned into UTF-8 where it enters the mark-up, and escaped for RTF in
// one step, where it leaves. Lines of a source read as Windows 1252 never
// come here: they go through the mark-up as they always did.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "markup/source_encoding.h"

namespace tessel::platform {
class CodePageCodec;
}

namespace tessel::markup {

class SourceLineDecoder {
  public:
    // Lines of a UTF-16 source arrive as UTF-8 already (platform/utf16.h).
    explicit SourceLineDecoder(const SourceEncoding& encoding);

    // Rewrites `line` as UTF-8. Bytes the encoding gives no character
    // become kept bytes (U+F000 + byte), which come back as the same bytes;
    // false when the line held any, `original` then holding it as it was.
    bool toUtf8(std::string& line, std::string& original);

    // Lines arrive in UTF-8 (a UTF-8 or UTF-16 source).
    bool readsUtf8() const { return codec_ == nullptr; }

  private:
    bool codePageToUtf8(std::string& line, std::string& original) const;
    static bool repairUtf8(std::string& line, std::string& original);

    const platform::CodePageCodec* codec_ = nullptr;  // null: UTF-8 lines
};

// Rewrites the UTF-8 `line` as Windows 1252 bytes when it is valid UTF-8
// and 1252 holds every character of it: the 1252 mark-up then takes it as
// it stands and writes what escapeUnicodeRtf() would. False, the line as it
// was, when some character is beyond 1252 or a sequence is not valid.
bool narrowToWindows1252(std::string& line);

// True when the UTF-8 `line` holds more than ASCII: frame::escapeUnicodeRtf()
// escapes it. A line of ASCII alone goes the way of a 1252 source's lines,
// which write it the same.
bool needsUnicodeEscape(std::string_view line);

// The protected run that stands for the byte-order mark at the start of the
// RTF: U+FEFF for UTF-8, the kept bytes of the mark for UTF-16, so that the
// back-conversion tells them apart; empty without a mark.
std::string byteOrderMarkRun(const SourceEncoding& encoding);

}  // namespace tessel::markup
