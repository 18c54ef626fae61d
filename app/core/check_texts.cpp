#include "core/check_texts.h"

#include <cstdio>

#include "core/report_texts.h"

namespace tessel::app {

namespace text {
const char* const kCheckingPair = "Checking %s against %s...\n";
const CountTexts kPairFindings{"No findings.\n\n", "1 finding.\n\n", "%d findings.\n\n"};
const char* const kCheckingRoundTrip = "Checking the round trip of %s...\n";
const char* const kAfterRoundTrip = "\n";
const char* const kVerifySummaryHeading = "Summary of Verification\n\n";
const char* const kRoundTripSummaryHeading = "Summary of Round Trip\n\n";
}  // namespace text

namespace {

using verify::Finding;
using verify::FindingKind;

// Unheld characters named in one line; the JSON has all of them.
constexpr std::size_t kUnheldShown = 6;

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Tabs, line ends and manual line breaks of quoted text shown as escapes.
std::string shown(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Bytes of a source file (its own code page) as text: ASCII as it is,
// others as \xHH.
std::string shownBytes(std::string_view bytes) {
    std::string out;
    for (char c : shown(bytes)) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || byte < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

std::string columnText(std::size_t column) {
    return " at column " + std::to_string(column);
}

std::string characterName(std::string_view utf8) {
    char32_t c = 0;
    auto lead = static_cast<unsigned char>(utf8.empty() ? 0 : utf8[0]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length && i < utf8.size(); ++i) {
        c = (c << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

std::string plural(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string findingDetail(const Finding& f) {
    std::string role(verify::roleName(f.role));
    switch (f.kind) {
        case FindingKind::MissingRun:
            return role + " run " + quoted(shown(f.subject)) + " of source paragraph " +
                   std::to_string(f.sourceParagraph) + " is missing";
        case FindingKind::AddedRun:
            return role + " run " + quoted(shown(f.subject)) + columnText(f.column) +
                   " is not in the source";
        case FindingKind::ChangedRun:
            return role + " run " + quoted(shown(f.subject)) + " reads " + quoted(shown(f.other)) +
                   columnText(f.column);
        case FindingKind::MovedRun:
            return role + " run " + quoted(shown(f.subject)) + columnText(f.column) +
                   " is out of its source order";
        case FindingKind::UnprotectedTag:
            return quoted(shown(f.subject)) + columnText(f.column) +
                   " stands outside any protected style" +
                   (f.role == verify::RunRole::Text ? "" : " (" + role + " in the source)");
        case FindingKind::UnbalancedPair:
            if (f.sourceParagraph == 0 && f.other.empty()) {
                return quoted(shown(f.subject)) + columnText(f.column) +
                       " closes a tag that is not open";
            }
            return quoted(shown(f.subject)) + " and " + quoted(shown(f.other)) +
                   columnText(f.column) + " no longer pair up as in source paragraph " +
                   std::to_string(f.sourceParagraph);
        case FindingKind::MarkupCharacter:
            return quoted(f.subject) + columnText(f.column) +
                   " is written back as it is, as markup";
        case FindingKind::UnheldCharacter: {
            std::string list;
            std::string written;
            std::size_t shownCount = 0;
            for (const verify::UnheldCharacter& c : f.characters) {
                if (shownCount == kUnheldShown) break;
                ++shownCount;
                if (!list.empty()) {
                    list += ", ";
                    written += ", ";
                }
                list += characterName(c.character) + " " + quoted(c.character) +
                        (c.columns.size() == 1 ? " (column " : " (columns ");
                for (std::size_t i = 0; i < c.columns.size(); ++i) {
                    list += (i == 0 ? "" : ", ") + std::to_string(c.columns[i]);
                }
                list += ")";
                written += quoted(shown(c.written));
            }
            if (f.characters.size() > shownCount) {
                list += " and " + std::to_string(f.characters.size() - shownCount) + " more";
            }
            return list + " cannot be held by the " + f.other + " back-conversion, which writes " +
                   written;
        }
        case FindingKind::Utf8ReadAs1252:
            return quoted(shown(f.subject)) + columnText(f.column) + " reads as UTF-8 " +
                   quoted(shown(f.other)) + " taken for Windows 1252 characters" +
                   (f.places > 1 ? " (" + plural(f.places, "place", "places") + " in the paragraph)"
                                 : "");
        case FindingKind::NotATag:
            return role + " run " + quoted(shown(f.subject)) + columnText(f.column) +
                   (f.other.empty() ? " does not have the form of a tag"
                                    : " holds typographic quotes where a tag has straight ones");
        case FindingKind::ParagraphTagInLine:
            return "paragraph tag " + quoted(shown(f.subject)) + columnText(f.column) +
                   " stands inside a paragraph (two paragraphs joined)";
        case FindingKind::HiddenTags:
            return "the text of protected runs is hidden and is not written back (" +
                   plural(f.places, "paragraph", "paragraphs") + ", the first here)";
        case FindingKind::ParagraphAdded:
            return "a paragraph the source does not have";
        case FindingKind::ParagraphRemoved:
            return "source paragraph " + std::to_string(f.sourceParagraph) + " is missing here";
        case FindingKind::Unreadable: {
            auto text = returnCodeText(f.code);
            std::string reason = text ? std::string(*text) : "Error code " + std::to_string(f.code);
            return reason + (f.paragraph > 0
                                 ? " (stopped before paragraph " + std::to_string(f.paragraph) + ")"
                                 : "");
        }
    }
    return {};
}

std::string countsText(const KindCounts& counts) {
    std::string text;
    for (const auto& [kind, count] : counts) {
        if (!text.empty()) text += ", ";
        text += kind + " " + std::to_string(count);
    }
    return text;
}

}  // namespace

std::string noOriginalLine(const std::string& translated, const std::string& stem,
                           const std::string& where) {
    return translated + ": no original " + stem + ".rtf " + where;
}

std::string noTranslationLine(const std::string& original) {
    return original + ": no translation of it was given";
}

std::string findingDescription(const Finding& finding) {
    return findingDetail(finding);
}

std::string findingLine(const Finding& f) {
    std::string line = f.file + ":" + std::to_string(f.paragraph) + ": " +
                       std::string(verify::kindName(f.kind)) + ": " + findingDetail(f);
    if (!f.quote.empty()) {
        line += f.kind == FindingKind::ParagraphRemoved ? ", source " : ", in ";
        line += quoted(f.quote);
    }
    return line;
}

std::string verifySummary(const VerifyTotals& t) {
    std::string details = plural(t.paragraphs, "paragraph", "paragraphs") + " checked";
    if (!t.target.empty()) details += ", back-conversion " + t.target;
    if (t.findings == 0) {
        return "verify: no findings in " + plural(t.translations, "translation", "translations") +
               " (" + details + ")";
    }
    return "verify: " + plural(t.findings, "finding", "findings") + " in " +
           std::to_string(t.withFindings) + " of " +
           plural(t.translations, "translation", "translations") + " (" + countsText(t.byKind) +
           "; " + details + ")";
}

std::string differenceLine(const verify::Difference& d) {
    std::string position = d.file + ":" + std::to_string(d.line) + ":" + std::to_string(d.column);
    if (d.rules.empty()) {
        return position + ": unexplained: " + quoted(shownBytes(d.source)) + " became " +
               quoted(shownBytes(d.output)) + " (output " + std::to_string(d.outputLine) + ":" +
               std::to_string(d.outputColumn) + ")";
    }
    std::string names;
    std::string explanations;
    for (verify::RoundTripRule rule : d.rules) {
        const verify::RuleDescription& description = verify::describe(rule);
        if (!names.empty()) {
            names += "+";
            explanations += "; ";
        }
        names += description.name;
        explanations += description.explanation;
    }
    if (d.rules.front() == verify::RoundTripRule::LineEnds) {
        return position + ": " + names + ": " + quoted(shownBytes(d.source)) + " became " +
               quoted(shownBytes(d.output)) + " at " + plural(d.count, "line end", "line ends") +
               ": " + explanations;
    }
    return position + ": " + names + ": " + quoted(shownBytes(d.source)) + " became " +
           quoted(shownBytes(d.output)) + " (output " + std::to_string(d.outputLine) + ":" +
           std::to_string(d.outputColumn) + "): " + explanations;
}

std::string identicalLine(const std::string& file, std::string_view format) {
    return file + ": identical after the round trip (" + std::string(format) + ")";
}

std::string roundTripFailureLine(const verify::RoundTripResult& result) {
    int code = result.markUpResult < 0 && result.markUpResult != -113 ? result.markUpResult
                                                                      : result.backResult;
    std::string step = code == result.markUpResult ? "mark-up" : "back-conversion";
    std::string line = result.file + ": the round trip failed in the " + step + " (" +
                       std::string(result.format->name) + ", code " + std::to_string(code) + ")";
    // The report's text up to its first line end ("More info ..." follows).
    if (auto text = returnCodeText(code))
        line += ": " + std::string(text->substr(0, text->find('\n')));
    if (!result.failureMessage.empty()) line += "; the log says: " + shown(result.failureMessage);
    return line;
}

std::string roundTripSummary(const RoundTripTotals& t) {
    std::string text = "roundtrip: " + plural(t.files, "file", "files") + ", " +
                       std::to_string(t.identical) + " identical";
    if (t.failed > 0) text += ", " + std::to_string(t.failed) + " failed";
    if (t.differences > 0) {
        text += ", " + plural(t.differences, "difference", "differences") + " (" +
                countsText(t.byRule) + ")";
        if (t.unexplained > 0) text += ", " + std::to_string(t.unexplained) + " unexplained";
    }
    return text;
}

std::string findingJson(const Finding& f) {
    std::string characters;
    for (const verify::UnheldCharacter& c : f.characters) {
        std::string columns;
        for (std::size_t column : c.columns) {
            if (!columns.empty()) columns += ",";
            columns += std::to_string(column);
        }
        if (!characters.empty()) characters += ",";
        characters += "{\"character\":" + jsonString(c.character) + ",\"columns\":[" + columns +
                      "],\"written\":" + jsonString(c.written) + "}";
    }
    return "{\"kind\":" + jsonString(verify::kindName(f.kind)) + ",\"file\":" + jsonString(f.file) +
           ",\"paragraph\":" + std::to_string(f.paragraph) +
           ",\"sourceParagraph\":" + std::to_string(f.sourceParagraph) +
           ",\"column\":" + std::to_string(f.column) +
           ",\"role\":" + jsonString(verify::roleName(f.role)) +
           ",\"text\":" + jsonString(f.subject) + ",\"other\":" + jsonString(f.other) +
           ",\"characters\":[" + characters + "]" + ",\"quote\":" + jsonString(f.quote) +
           ",\"code\":" + std::to_string(f.code) +
           (f.kind == FindingKind::Utf8ReadAs1252 ? ",\"places\":" + std::to_string(f.places)
                                                  : "") +
           ",\"line\":" + jsonString(findingLine(f)) + "}";
}

std::string differenceJson(const verify::Difference& d) {
    std::string rules;
    for (verify::RoundTripRule rule : d.rules) {
        if (!rules.empty()) rules += ",";
        rules += jsonString(verify::describe(rule).name);
    }
    return "{\"file\":" + jsonString(d.file) + ",\"line\":" + std::to_string(d.line) +
           ",\"column\":" + std::to_string(d.column) +
           ",\"outputLine\":" + std::to_string(d.outputLine) +
           ",\"outputColumn\":" + std::to_string(d.outputColumn) + ",\"rules\":[" + rules +
           "],\"source\":" + jsonString(shownBytes(d.source)) +
           ",\"output\":" + jsonString(shownBytes(d.output)) +
           ",\"count\":" + std::to_string(d.count) + ",\"text\":" + jsonString(differenceLine(d)) +
           "}";
}

}  // namespace tessel::app
