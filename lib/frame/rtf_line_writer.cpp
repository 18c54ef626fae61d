#include "frame/rtf_line_writer.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "frame/dtp_text_headers.h"
#include "frame/encoding_choice.h"
#include "frame/execute_function.h"
#include "frame/return_codes.h"

namespace tessel::frame {

namespace {

namespace res = tessel::resources;
using platform::CodePageCodec;

bool awaitsHeader(int functionCode) {
    return functionCode == kRtfToPageMaker || functionCode == kRtfToXPress;
}

// The header lines as the file will hold them: the UTF-8 text with manual
// line breaks as the format writes them (headers are ASCII).
std::string asWritten(std::string_view text, std::string_view softLineBreak) {
    constexpr std::string_view kLineSeparatorUtf8 = "\xE2\x80\xA8";
    std::string result;
    std::size_t at = 0;
    for (std::size_t found; (found = text.find(kLineSeparatorUtf8, at)) != text.npos;) {
        result.append(text.substr(at, found - at));
        result += softLineBreak.empty() ? std::string_view("\n") : softLineBreak;
        at = found + kLineSeparatorUtf8.size();
    }
    result.append(text.substr(at));
    return result;
}

std::string_view lineOf(std::string_view text, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        std::size_t end = text.find('\n', start);
        if (end == text.npos) return {};
        start = end + 1;
    }
    return text.substr(start, text.find('\n', start) - start);
}

// The target's page when the encoder writes each of its bytes back as it
// stands (read as the page's character), without a loss: text of that page
// then needs no encoding. Null for UTF-8 and double-byte targets.
const CodePageCodec* bytesTarget(const TargetRules& rules) {
    if (rules.utf8 || rules.codec == nullptr || rules.codec->isDoubleByte()) return nullptr;
    TargetEncoder encoder(rules);
    std::string text;
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        const CodePageCodec::Utf8& utf8 =
            rules.codec->highByteUtf8(static_cast<std::uint8_t>(byte));
        text.assign(utf8.bytes, utf8.length);
        encoder.encode(text);
        if (text != std::string(1, static_cast<char>(byte))) return nullptr;
    }
    return encoder.lostCharacters().empty() ? rules.codec : nullptr;
}

}  // namespace

bool dropsEmptyParagraphs(int functionCode) {
    return functionCode == kRtfToText || functionCode == kRtfToCompatibleHtml;
}

RtfLineWriter::RtfLineWriter(int functionCode, LineStep step, ErrorLog& log,
                             platform::OutputStream& output, int& changeCount, int chosenCodePage)
    : functionCode_(functionCode),
      step_(std::move(step)),
      log_(log),
      output_(output),
      changeCount_(changeCount),
      skipEmptyLines_(dropsEmptyParagraphs(functionCode)),
      chosenCodePage_(chosenCodePage),
      awaitingHeader_(awaitsHeader(functionCode)) {}

void RtfLineWriter::documentCodePage(int codePage) {
    // The first statement counts; the text that follows is read in it.
    if (documentCodePage_ == 0) documentCodePage_ = codePage;
}

void RtfLineWriter::notice(RtfNotice notice, std::string_view quoted) {
    switch (notice) {
        case RtfNotice::TrackedChangesAccepted:
            paragraphNotices_.push_back(kTrackedChangesAccepted);
            return;
        case RtfNotice::CommentsLeftOut:
            paragraphNotices_.push_back(kCommentsLeftOut);
            return;
        case RtfNotice::SurplusClosingBrace:
            log_.report(kSurplusClosingBrace, changeCount_, quoted);
            return;
        case RtfNotice::DataAfterDocument:
            log_.report(kDataAfterDocument, changeCount_, quoted);
            return;
    }
}

void RtfLineWriter::formattedText() {
    if (tellsFormatting_) formattedParagraph_ = true;
}

int RtfLineWriter::paragraph(std::string& line, bool lineEnd) {
    std::vector<char32_t> unescaped;
    if (escaper_ != nullptr) escaper_->escape(line, unescaped);
    if (!awaitingHeader_) {
        unescaped_ = std::move(unescaped);
        return write(line, lineEnd);
    }
    held_.push_back({line, lineEnd, std::exchange(paragraphNotices_, {}), std::move(unescaped),
                     std::exchange(formattedParagraph_, false)});
    if (!headerDecided()) return 0;
    return writeHeld();
}

int RtfLineWriter::finish() {
    int result = awaitingHeader_ ? writeHeld() : 0;
    // A change in no paragraph that was handed on (an empty last one).
    reportNotices("");
    return result;
}

void RtfLineWriter::reportNotices(std::string_view quoted) {
    if (paragraphNotices_.empty()) return;
    for (int code : std::exchange(paragraphNotices_, {})) log_.report(code, changeCount_, quoted);
}

bool RtfLineWriter::headerDecided() const {
    std::string text;
    for (const auto& held : held_) {
        text += held.text;
        if (held.lineEnd) text += '\n';
    }
    const res::BackConversionFormat* format = backConversionFormat(functionCode_);
    text = asWritten(text, format != nullptr ? format->softLineBreak : std::string_view());
    std::size_t lineEnds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    bool needsSecond = functionCode_ == kRtfToXPress && text.starts_with('#');
    if (lineEnds < (needsSecond ? 2u : 1u) && held_.back().lineEnd) return false;
    return true;
}

int RtfLineWriter::writeHeld() {
    awaitingHeader_ = false;
    std::string text;
    for (const auto& held : held_) {
        text += held.text;
        if (held.lineEnd) text += '\n';
    }
    const res::BackConversionFormat* format = backConversionFormat(functionCode_);
    text = asWritten(text, format != nullptr ? format->softLineBreak : std::string_view());
    macintosh_ = functionCode_ == kRtfToPageMaker
                     ? pageMakerHeaderNamesMac(lineOf(text, 0))
                     : xpressHeaderIsMacintosh(lineOf(text, 0), lineOf(text, 1));
    if (functionCode_ == kRtfToXPress) {
        const char encoding = xpressHeaderEncoding(lineOf(text, 0), lineOf(text, 1));
        unicodeHeader_ = encoding != 0 && kXPressUnicodeEncodings.find(encoding) != text.npos;
    }
    std::vector<HeldParagraph> held = std::move(held_);
    held_.clear();
    for (auto& paragraph : held) {
        paragraphNotices_ = std::move(paragraph.notices);
        unescaped_ = std::move(paragraph.unescaped);
        formattedParagraph_ = paragraph.formatted;
        if (int result = write(paragraph.text, paragraph.lineEnd); result < 0) return result;
    }
    return 0;
}

// The code page the 8-bit text formats write: UTF-8 where the source said
// so (a QuarkXPress header declaring Unicode, a byte-order mark before the
// first line), else the code page chosen for back-conversions, else the
// document's. Other formats keep the page they were given.
int RtfLineWriter::targetCodePage(std::string_view firstLine) const {
    const res::BackConversionFormat* format = backConversionFormat(functionCode_);
    if (format == nullptr || format->codePage != res::TargetCodePage::Document) {
        return chosenCodePage_;
    }
    if (declaresUtf8(firstLine)) return res::kUtf8CodePage;
    if (unsigned chosen = encodingChoice().targetCodePage) return static_cast<int>(chosen);
    return chosenCodePage_;
}

bool RtfLineWriter::declaresUtf8(std::string_view firstLine) const {
    return unicodeHeader_ || firstLine.starts_with(kUtf8ByteOrderMark);
}

void RtfLineWriter::chooseTarget(std::string_view firstLine) {
    const int page = targetCodePage(firstLine);
    const unsigned chosen = encodingChoice().targetCodePage;
    if (chosen != 0 && page == res::kUtf8CodePage && declaresUtf8(firstLine)) {
        declaredOverChosenCodePage() = page;
    }
    TargetRules rules = targetRules(functionCode_, documentCodePage_, page, macintosh_);
    encoder_.emplace(rules);
    bytesTarget_ = bytesTarget(rules);
}

int RtfLineWriter::paragraphInCodePage(std::string& line, const CodePageCodec& codePage,
                                       bool lineEnd) {
    // Only the page named by textCodePage() is taken as it stands, and only
    // where no runs are escaped.
    if (&codePage != bytesTarget_ || escaper_ != nullptr)
        return RtfParagraphSink::paragraphInCodePage(line, codePage, lineEnd);
    return write(line, lineEnd, true);
}

int RtfLineWriter::write(std::string& line, bool lineEnd, bool encoded) {
    if (!encoder_) chooseTarget(line);
    bool empty = line.empty();
    if (int result = flush(line, encoded); result < 0) return result;
    if (lineEnd && !(empty && skipEmptyLines_)) output_.put('\n');
    return 0;
}

int RtfLineWriter::flush(std::string& line, bool encoded) {
    if (!encoded) encoder_->encode(line);
    // The entity step of compatible HTML writes some punctuation as
    // substitutes: each kind is told once, quoting its first line as written.
    std::vector<std::string> substitutes;
    if (step_ && functionCode_ == kRtfToCompatibleHtml)
        substitutes = compatibleNotes_.newKinds(line);
    if (step_) {
        // The step's own count is not a change of this job.
        if (int result = step_(line); result < 0) return result;
    }
    int result = log_.report(executeFrameFunction(line, functionCode_), changeCount_, line);
    if (result < 0) return result;
    if (!encoder_->lostCharacters().empty() || !unescaped_.empty()) {
        std::vector<char32_t> lost = encoder_->lostCharacters();
        for (char32_t c : unescaped_) {
            if (std::find(lost.begin(), lost.end(), c) == lost.end()) lost.push_back(c);
        }
        log_.report(kCharactersNotHeld, changeCount_, line, characterNames(lost));
        encoder_->clearLostCharacters();
        unescaped_.clear();
    }
    for (const auto& detail : substitutes) {
        log_.report(kCompatibleHtmlSubstitute, changeCount_, line, detail);
    }
    output_.write(line);
    reportNotices(line);
    if (std::exchange(formattedParagraph_, false)) {
        log_.report(kFormattingDropped, changeCount_, line);
    }
    return 0;
}

}  // namespace tessel::frame
