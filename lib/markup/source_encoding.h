// The one decision of the encoding an HTML, XHTML or SGML source is read in,
// made from its bytes before any of them is read as text:
// 1. a byte-order mark (UTF-8, UTF-16 little- or big-endian);
// 2. the file's own declaration: an XML declaration's encoding= or a META
//    tag's charset (<meta charset> or http-equiv Content-Type);
// 3. the user's choice (frame::encodingChoice().sourceEncoding);
// 4. undeclared text that is valid UTF-8 and holds multi-byte sequences;
// 5. Windows 1252, as every source was read before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessel::markup {

enum class SourceForm { Windows1252, Utf8, Utf16LittleEndian, Utf16BigEndian, CodePage };
enum class EncodingOrigin { Default, ByteOrderMark, Declaration, UserChoice, Utf8Content };

struct SourceEncoding {
    SourceForm form = SourceForm::Windows1252;
    int codePage = 1252;  // 65001 for UTF-8, 1200 and 1201 for UTF-16
    EncodingOrigin origin = EncodingOrigin::Default;
    std::size_t byteOrderMark = 0;  // bytes of the mark at the start of the file
    // A declared name the library does not read (the file is then read by
    // the rules that follow the declaration); empty when there is none.
    std::string unreadDeclaration;

    // Read as every source was before: Windows 1252 bytes, no mark.
    bool asBefore() const { return form == SourceForm::Windows1252; }
};

// The name the first XML declaration or META charset of `text` declares
// (comments skipped); empty when there is none.
std::string declaredEncodingName(std::string_view text);

// The decision from the first bytes of the file and the user's choice (a
// name frame::codePageOfEncodingName() knows, or empty). Origin Default
// means nothing decided it: the caller may still find the text is UTF-8.
SourceEncoding decideFromHead(std::string_view head, std::string_view userChoice);

// Tests text fed in pieces for UTF-8: every sequence valid, and whether any
// takes more than one byte. A sequence may be cut between two pieces.
class Utf8Scan {
  public:
    void feed(std::string_view piece);
    // True when all fed so far (and ended there) is valid UTF-8.
    bool valid() const { return valid_ && pendingSize_ == 0; }
    bool sawMultiByte() const { return multiByte_; }
    // True once a byte broke the rules: nothing fed after counts.
    bool failed() const { return !valid_; }

  private:
    bool valid_ = true;
    bool multiByte_ = false;
    unsigned char pending_[4] = {};
    std::size_t pendingSize_ = 0;
};

// Length of the valid UTF-8 sequence at `bytes` (1 for ASCII), 0 when the
// bytes there start none, or -1 when the `left` bytes are a valid start
// that is cut off.
int utf8SequenceLength(const unsigned char* bytes, std::size_t left);

// The whole decision for the file at `path`. False when it cannot be read
// (the job then fails to open it as before).
bool decideSourceEncoding(const std::string& path, std::string_view userChoice,
                          SourceEncoding& encoding);

// The encoding's name in reports and messages: "UTF-8", "code page 1251".
std::string sourceEncodingName(const SourceEncoding& encoding);

// The report line of a decision other than the default ("Read as UTF-8
// (declared in the file)"); empty for a source read as before.
std::string sourceEncodingReport(const SourceEncoding& encoding);

}  // namespace tessel::markup
