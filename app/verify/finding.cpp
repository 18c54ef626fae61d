#include "verify/finding.h"

namespace tessel::verify {

std::string_view kindName(FindingKind kind) {
    switch (kind) {
        case FindingKind::MissingRun:
            return "missing-run";
        case FindingKind::AddedRun:
            return "added-run";
        case FindingKind::ChangedRun:
            return "changed-run";
        case FindingKind::MovedRun:
            return "moved-run";
        case FindingKind::UnprotectedTag:
            return "unprotected-tag";
        case FindingKind::UnbalancedPair:
            return "unbalanced-pair";
        case FindingKind::MarkupCharacter:
            return "markup-character";
        case FindingKind::UnheldCharacter:
            return "unheld-character";
        case FindingKind::Utf8ReadAs1252:
            return "utf8-read-as-1252";
        case FindingKind::ParagraphAdded:
            return "paragraph-added";
        case FindingKind::ParagraphRemoved:
            return "paragraph-removed";
        case FindingKind::NotATag:
            return "not-a-tag";
        case FindingKind::ParagraphTagInLine:
            return "paragraph-tag-in-line";
        case FindingKind::HiddenTags:
            return "hidden-tags";
        case FindingKind::Unreadable:
            break;
    }
    return "unreadable";
}

}  // namespace tessel::verify
