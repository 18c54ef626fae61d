// The encoding a translated RTF's HTML or SGML document is written back in:
// the one its own tags declare (the META or XML declaration, carried in the
// RTF as protected text), and the byte-order mark the mark-up carried as the
// protected run at its start (U+FEFF for UTF-8; the kept bytes FF FE or
// FE FF for UTF-16).
#pragma once

#include <string>
#include <string_view>

namespace tessel::markup {

enum class ByteOrderMark { None, Utf8, Utf16LittleEndian, Utf16BigEndian };

struct DocumentEncoding {
    int codePage = 0;  // the declared code page (65001 for UTF-8); 0: none read
    ByteOrderMark mark = ByteOrderMark::None;
};

// From the start of the RTF text (line ends in it are ignored, as RTF does).
DocumentEncoding documentEncodingOfRtf(std::string_view rtf);

// From the start of the RTF file at `path`; nothing declared when it cannot
// be read.
DocumentEncoding documentEncodingOfRtfFile(const std::string& path);

// The code page the back-conversion writes: a mark's encoding first, then
// the declaration, then `chosenCodePage` (0: none). 0 means Windows 1252
// through the entity step, as before.
int backConversionCodePage(const DocumentEncoding& document, unsigned chosenCodePage);

// The report line of a back-conversion whose document declares an encoding
// other than the code page chosen (the declaration wins: "Written as UTF-8
// (declared in the document; the code page chosen, 1250, is not used)");
// empty when nothing was chosen, the document declares nothing, or both
// agree.
std::string chosenCodePageReport(const DocumentEncoding& document, unsigned chosenCodePage);

// Rewrites the UTF-8 file at `path`, which starts with the kept bytes of a
// UTF-16 mark, as UTF-16 with that mark; beside itself and replaced in one
// step. 0, or kCannotOpenInput / kCannotOpenOutput.
int rewriteAsUtf16(const std::string& path);

// Rewrites the UTF-8 file at `path` as UTF-16 little-endian without a mark
// (a QuarkXPress header declaring UTF-16 in a source that had none), in
// the same way.
int rewriteAsUnmarkedUtf16(const std::string& path);

}  // namespace tessel::markup
