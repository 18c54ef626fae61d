// Writes the paragraphs the RTF reader hands on as lines of the tagged text
// file: each line is written in the target's character set (target_encoder.h),
// goes through the job's per-format step (character entities for HTML and
// SGML) and the function-code dispatcher, its result is reported into the
// error log, and the line is written. A line with characters the target
// could not hold is reported with message -1502.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/compatible_html_notes.h"
#include "frame/error_log.h"
#include "frame/rtf_reader.h"
#include "frame/target_encoder.h"
#include "frame/text_run_escaper.h"
#include "platform/streams.h"

namespace tessel::frame {

// The per-format step of a back-conversion: transforms one line in place and
// returns a count (not added to the change count) or a negative code that
// ends the job. Composed by the job's export; empty for plain text formats.
using LineStep = std::function<int(std::string& line)>;

// Message code of a line with characters the target could not hold.
inline constexpr int kCharactersNotHeld = -1502;
// Message codes of what the reader tells (RtfNotice): more "}" than "{",
// data after the document's end, tracked changes read as accepted, comments
// left out.
inline constexpr int kSurplusClosingBrace = -411;
inline constexpr int kDataAfterDocument = -412;
inline constexpr int kTrackedChangesAccepted = -413;
inline constexpr int kCommentsLeftOut = -414;
// Message code of the first paragraph with bold, italic or underlined text,
// formatting that no back-conversion can write.
inline constexpr int kFormattingDropped = -2402;

class RtfLineWriter final : public RtfParagraphSink {
  public:
    // `chosenCodePage` is the code page of multilingual HTML (515).
    RtfLineWriter(int functionCode, LineStep step, ErrorLog& log, platform::OutputStream& output,
                  int& changeCount, int chosenCodePage = 0);

    int paragraph(std::string& line, bool lineEnd) override;
    // The target's page once it is chosen, when its bytes are what the
    // encoder would write for the characters they stand for.
    const platform::CodePageCodec* textCodePage() const override { return bytesTarget_; }
    int paragraphInCodePage(std::string& line, const platform::CodePageCodec& codePage,
                            bool lineEnd) override;
    void documentCodePage(int codePage) override;
    // Writes the message of `notice` into the log: at once, quoting
    // `quoted`, or for a notice about the next paragraph, after that
    // paragraph is written, quoting it as written.
    void notice(RtfNotice notice, std::string_view quoted) override;
    // Told of formatted text in a document that a mark-up wrote (see
    // tellFormatting()), the writer names its paragraph (message -2402).
    void formattedText() override;
    void tellFormatting(bool on) { tellsFormatting_ = on; }

    // Escapes the text runs of every paragraph with `escaper` (null: none),
    // which must observe the reader's styles.
    void escapeTextRuns(TextRunEscaper* escaper) { escaper_ = escaper; }

    // Writes what is still held back; call once after the reading.
    int finish();

    // True when the output's header asks for the Macintosh character set
    // (PageMaker or QuarkXPress): it was written in Windows 1252 for the
    // Macintosh pass.
    bool macintoshTarget() const { return macintosh_; }

  private:
    struct HeldParagraph {
        std::string text;
        bool lineEnd;
        std::vector<int> notices;  // message codes for this paragraph
        std::vector<char32_t> unescaped;
        bool formatted;  // the first paragraph with formatting dropped
    };

    // `encoded`: the line is in the target's bytes already.
    int write(std::string& line, bool lineEnd, bool encoded = false);
    int flush(std::string& line, bool encoded);
    bool headerDecided() const;
    int writeHeld();
    void reportNotices(std::string_view quoted);
    void chooseTarget(std::string_view firstLine);
    int targetCodePage(std::string_view firstLine) const;
    bool declaresUtf8(std::string_view firstLine) const;

    int functionCode_;
    LineStep step_;
    ErrorLog& log_;
    platform::OutputStream& output_;
    int& changeCount_;
    bool skipEmptyLines_;
    int chosenCodePage_;
    int documentCodePage_ = 0;
    bool macintosh_ = false;
    bool unicodeHeader_ = false;  // a QuarkXPress header declares Unicode
    std::optional<TargetEncoder> encoder_;
    const platform::CodePageCodec* bytesTarget_ = nullptr;
    // PageMaker and QuarkXPress: the first lines wait until the header tells
    // whether the file is a Macintosh file.
    bool awaitingHeader_;
    std::vector<HeldParagraph> held_;
    // Message codes for the next paragraph written, in the order told.
    std::vector<int> paragraphNotices_;
    // The next paragraph written is the first with formatting dropped.
    bool formattedParagraph_ = false;
    bool tellsFormatting_ = false;
    TextRunEscaper* escaper_ = nullptr;
    // Compatible HTML with the entity step: the substitutes told so far.
    CompatibleHtmlNotes compatibleNotes_;
    // Characters of the paragraph being written that the format has no
    // escape for; reported with those the target cannot hold.
    std::vector<char32_t> unescaped_;
};

// True for the codes whose output leaves out empty paragraphs (plain text and
// compatible HTML); the others keep a line end for every paragraph.
bool dropsEmptyParagraphs(int functionCode);

}  // namespace tessel::frame
