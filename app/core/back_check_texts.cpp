#include "core/back_check_texts.h"

#include <array>

namespace tessel::app {

namespace {

using verify::FindingKind;

struct Row {
    FindingKind kind;
    // A finding of the comparison with the original; the kinds that both
    // make have the row of the check alone.
    bool compared;
    BackCheckMessage message;
};

constexpr std::array kRows = {
    Row{FindingKind::UnprotectedTag,
        false,
        {-601,
         "[%d] Tag text outside the protected styles in paragraph %s of the RTF file: %s.\n"
         "%s\n%s\n%s\n",
         "It is written back as text. Give it the style of a tag again, or remove it.\n\n", false}},
    Row{FindingKind::UnbalancedPair,
        false,
        {-602,
         "[%d] Tags that no longer pair up in paragraph %s of the RTF file: %s.\n%s\n%s\n%s\n",
         "A tag of the pair was deleted, or the two were swapped.\n\n", false}},
    Row{FindingKind::MarkupCharacter,
        false,
        {-603,
         "[%d] Markup character typed in the text of paragraph %s of the RTF file: %s.\n"
         "%s\n%s\n%s\n",
         "It is written back as it is and will be read as markup.\n\n", false}},
    Row{FindingKind::NotATag,
        false,
        {-604,
         "[%d] Protected run that is no longer a tag in paragraph %s of the RTF file: %s.\n"
         "%s\n%s\n%s\n",
         "The tag was changed in the translation. Copy it from the source again.\n\n", false}},
    Row{FindingKind::ParagraphTagInLine,
        false,
        {-605,
         "[%d] Paragraph tag in the middle of paragraph %s of the RTF file: %s.\n"
         "%s\n%s\n%s\n",
         "Two paragraphs were joined. Break the paragraph again before the tag.\n\n", false}},
    Row{FindingKind::HiddenTags,
        false,
        {-606, "[%d] Hidden tags from paragraph %s of the RTF file on: %s.\n%s\n%s\n%s\n",
         "Hidden text is not written back. Show the text of the tag styles again.\n\n", false}},
    Row{FindingKind::Unreadable,
        false,
        {-607,
         "[%d] The RTF file could not be checked for damaged tags from paragraph %s on: %s.\n",
         "\n", true}},
    Row{FindingKind::MissingRun,
        true,
        {-611,
         "[%d] Tag of the original missing in paragraph %s of the RTF file: %s.\n"
         "%s\n%s\n%s\n",
         "Copy the tag from the original into the translation.\n\n", false}},
    Row{FindingKind::AddedRun,
        true,
        {-612,
         "[%d] Tag the original does not have in paragraph %s of the RTF file: %s.\n"
         "%s\n%s\n%s\n",
         "\n", false}},
    Row{FindingKind::ChangedRun,
        true,
        {-613,
         "[%d] Tag changed against the original in paragraph %s of the RTF file: %s.\n"
         "%s\n%s\n%s\n",
         "Copy the tag from the original into the translation.\n\n", false}},
    Row{FindingKind::MovedRun,
        true,
        {-614,
         "[%d] Tag out of the original's order in paragraph %s of the RTF file: %s.\n"
         "%s\n%s\n%s\n",
         "\n", false}},
    Row{FindingKind::ParagraphAdded,
        true,
        {-615, "[%d] Paragraph %s of the RTF file is not in the original: %s.\n%s\n%s\n%s\n", "\n",
         false}},
    Row{FindingKind::ParagraphRemoved,
        true,
        {-616,
         "[%d] Paragraph of the original missing before paragraph %s of the RTF file: %s.\n"
         "%s\n%s\n%s\n",
         "\n", false}},
    Row{FindingKind::Utf8ReadAs1252,
        true,
        {-617,
         "[%d] Text that shows UTF-8 read as Windows 1252 in paragraph %s of the RTF file: "
         "%s.\n%s\n%s\n%s\n",
         "\n", false}},
    Row{FindingKind::Unreadable,
        true,
        {-618, "[%d] The RTF files could not be compared from paragraph %s on: %s.\n", "\n", true}},
};

constexpr BackCheckMessage kNoOriginal{-619, "[%d] No original to compare the RTF file with: %s.\n",
                                       "\n", true};

}  // namespace

const BackCheckMessage* backCheckMessage(FindingKind kind, bool compared) {
    for (const Row& row : kRows) {
        if (row.kind == kind && row.compared == compared) return &row.message;
    }
    if (!compared) return nullptr;
    return backCheckMessage(kind, false);
}

const BackCheckMessage& noOriginalMessage() {
    return kNoOriginal;
}

}  // namespace tessel::app
