#include "markup/html_tag_classifier.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "markup/html_codes.h"
#include "markup/html_markup_state.h"
#include "markup/html_tag_file.h"
#include "resources/html_tag_table.h"

namespace tessel::markup {

namespace res = tessel::resources;
using frame::TagKind;

namespace {

// Letters compare without regard to case, as lower case.
constexpr unsigned char folded(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

// Setting bit 0x20 turns upper-case letters into lower-case ones and no
// other byte into a letter: one range test covers both cases.
constexpr bool isLetter(char c) {
    unsigned char lower = static_cast<unsigned char>(c) | 0x20u;
    return static_cast<unsigned char>(lower - 'a') < 26;
}

// -1 when the text at `pos` sorts before `name` (compared over the name's
// length), 1 when after, 0 when equal.
int compareName(const MarkedLine& line, std::size_t pos, std::string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        unsigned char text = folded(line.at(pos + i));
        unsigned char entry = folded(name[i]);
        if (text != entry) return text < entry ? -1 : 1;
    }
    return 0;
}

constexpr bool kindOfLetter(char letter, TagKind& kind) {
    switch (letter) {
        case 'E':
            kind = TagKind::External;
            return true;
        case 'I':
            kind = TagKind::Internal;
            return true;
        case 'D':
            kind = TagKind::DoNotTranslate;
            return true;
        default:
            return false;
    }
}

// What an entry's class and attribute mean, worked out once: the group the
// tag goes into, whether an opening tag keeps the value of `attribute`
// outside the group, and whether the entry is the one that turns
// preformatted text on and off.
struct TagRule {
    bool valid = false;  // false for class letters without meaning
    TagKind kind = TagKind::External;
    bool translatableValue = false;
    bool pre = false;
    std::string_view attribute;
};

constexpr TagRule ruleOf(std::string_view name, std::string_view tagClass,
                         std::string_view attribute) {
    TagRule rule;
    char first = tagClass.empty() ? '\0' : tagClass[0];
    rule.translatableValue = first == 'S';
    char groupLetter = rule.translatableValue ? (tagClass.size() > 1 ? tagClass[1] : '\0') : first;
    rule.valid = kindOfLetter(groupLetter, rule.kind);
    rule.pre = name == res::kPreTagName;
    rule.attribute = attribute;
    return rule;
}

struct BuiltInRules {
    std::array<TagRule, res::kHtmlTagTable.size()> rules{};
    bool allValid = true;
    constexpr BuiltInRules() {
        for (std::size_t i = 0; i < rules.size(); ++i) {
            const auto& entry = res::kHtmlTagTable[i];
            rules[i] = ruleOf(entry.name, entry.tagClass, entry.attribute);
            allValid = allValid && rules[i].valid;
        }
    }
};
constexpr BuiltInRules kBuiltInRules{};
static_assert(kBuiltInRules.allValid, "every built-in class has a meaning");

// First position from `i` up to `last` whose byte folds to `byte`, or npos.
// A byte other than a letter has one form only: the line's search finds it.
std::size_t nextCandidate(const MarkedLine& line, std::size_t i, std::size_t last, char byte) {
    if (!isLetter(byte)) return line.find(byte, i, last + 1);
    const std::string& source = line.source();
    for (; i <= last; ++i) {
        if (folded(source[i]) == folded(byte)) return i;
    }
    return std::string::npos;
}

// Position of `attribute` in [from, to) of the line's source, compared
// without regard to case; npos when absent. The candidates are the places
// where the attribute's last byte would stand, in order, so the first that
// fits is the first occurrence: the attributes end in "=", which a tag holds
// far fewer of than the blanks they begin with.
std::size_t findAttribute(const MarkedLine& line, std::size_t from, std::size_t to,
                          std::string_view attribute) {
    if (to < from || to - from < attribute.size()) return std::string::npos;
    if (attribute.empty()) return from;
    const std::string& source = line.source();
    const std::size_t head = attribute.size() - 1;  // bytes before the last
    const std::size_t last = to - 1;
    for (std::size_t end = nextCandidate(line, from + head, last, attribute.back());
         end != std::string::npos;
         end = end < last ? nextCandidate(line, end + 1, last, attribute.back())
                          : std::string::npos) {
        const std::size_t start = end - head;
        std::size_t k = 0;
        while (k < head && folded(source[start + k]) == folded(attribute[k])) ++k;
        if (k == head) return start;
    }
    return std::string::npos;
}

// Wraps a tag whose quoted attribute value is to be translated: the tag up to
// and including the opening quote, and from the closing quote to its end, in
// the group of `kind`; the value stays outside. Falls back to wrapping the
// whole tag when the attribute or its quote is missing.
[[gnu::noinline]] int wrapAroundValue(MarkedLine& line, const TagSpan& tag, std::size_t nameEnd,
                                      std::string_view attribute, TagKind kind) {
    const std::string& source = line.source();
    std::size_t closeBracket = tag.end - 1;
    std::size_t found = findAttribute(line, nameEnd, closeBracket, attribute);
    if (found == std::string::npos) {
        line.wrap(tag.start, tag.end, kind);
        return 1;
    }
    std::size_t quote = found + attribute.size();
    while (quote < closeBracket && source[quote] == ' ') ++quote;
    if (quote >= closeBracket || source[quote] != '"') {
        line.wrap(tag.start, tag.end, kind);
        return 1;
    }
    std::size_t closingQuote = line.find('"', quote + 1, closeBracket);
    if (closingQuote == std::string::npos) return kMissingEndQuote;
    line.wrap(tag.start, quote + 1, kind);
    line.wrap(closingQuote, tag.end, kind);
    return 1;
}

// Index of the first built-in entry whose name does not begin with a lower
// (folded) byte than `c`: every entry before it would not fit.
struct FirstEntryIndex {
    std::array<unsigned char, 257> start{};
    constexpr FirstEntryIndex() {
        std::size_t entry = 0;
        for (std::size_t c = 0; c < 256; ++c) {
            while (entry < res::kHtmlTagTable.size() &&
                   folded(res::kHtmlTagTable[entry].name[0]) < c) {
                ++entry;
            }
            start[c] = static_cast<unsigned char>(entry);
        }
        start[256] = static_cast<unsigned char>(res::kHtmlTagTable.size());
    }
};

const FirstEntryIndex& firstEntryIndex() {
    static const FirstEntryIndex index;
    return index;
}

// Names that begin with a letter are made of letters only, so such a name
// fits a tag only when it equals the tag's whole run of letters: the entries
// are indexed by first letter and length, and the few of one bucket compared
// by their first eight letters packed into one word.
constexpr std::size_t kLongestLetterName = 10;
constexpr std::size_t kLetterBuckets = 26 * (kLongestLetterName + 1);
constexpr std::size_t kPackedLetters = 8;

// `first` is a letter: setting bit 0x20 gives its lower case.
constexpr std::size_t letterBucket(char first, std::size_t length) {
    const unsigned char lower = static_cast<unsigned char>(first) | 0x20u;
    return static_cast<std::size_t>(lower - 'a') * (kLongestLetterName + 1) + length;
}

// Letter `i` of a name in its byte of the packed word; setting bit 0x20
// gives both cases of a letter the same byte.
constexpr std::uint64_t packedLetter(char c, std::size_t i) {
    return std::uint64_t{static_cast<unsigned char>(c) | 0x20u} << (8 * i);
}

constexpr std::uint64_t packedHead(std::string_view name) {
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < name.size() && i < kPackedLetters; ++i) {
        head |= packedLetter(name[i], i);
    }
    return head;
}

// The letters that begin `text` (`available` bytes), packed as packedHead
// packs a name, and in `length` how many of the first eight are letters.
// Where words are little-endian the eight bytes are tested at once: setting
// bit 0x20 of each gives the lower case, and a byte below 0x80 whose lower
// case lies from 'a' to 'z' is a letter. The line's memory goes on for a
// chunk past its end, and the null that ends its text ends a name there.
std::uint64_t packedLetters(const char* text, std::size_t available, std::size_t& length) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kEach = 0x0101010101010101;
        std::uint64_t word;
        std::memcpy(&word, text, sizeof word);
        const std::uint64_t lower = word | 0x20 * kEach;
        const std::uint64_t low = lower & 0x7F * kEach;  // no carry between bytes below
        const std::uint64_t fromA = low + (0x80 - 'a') * kEach;
        const std::uint64_t pastZ = low + (0x80 - 'z' - 1) * kEach;
        const std::uint64_t stops = ~(fromA & ~pastZ & ~word) & 0x80 * kEach;
        length = stops == 0 ? kPackedLetters : std::countr_zero(stops) / 8;
        return length == kPackedLetters ? lower : lower & ((std::uint64_t{1} << (8 * length)) - 1);
    }
    std::uint64_t head = 0;
    const std::size_t packable = std::min(available, kPackedLetters);
    for (length = 0; length < packable && isLetter(text[length]); ++length) {
        head |= packedLetter(text[length], length);
    }
    return head;
}

struct LetterNameIndex {
    // Entry numbers ordered by bucket, in table order within one; bucket b
    // holds entries[begin[b], begin[b + 1]).
    std::array<unsigned char, res::kHtmlTagTable.size()> entries{};
    std::array<std::uint64_t, res::kHtmlTagTable.size()> heads{};  // by position in entries
    std::array<unsigned char, kLetterBuckets + 1> begin{};
    constexpr LetterNameIndex() {
        std::size_t filled = 0;
        for (std::size_t bucket = 0; bucket < kLetterBuckets; ++bucket) {
            begin[bucket] = static_cast<unsigned char>(filled);
            for (std::size_t i = 0; i < res::kHtmlTagTable.size(); ++i) {
                std::string_view name = res::kHtmlTagTable[i].name;
                if (isLetter(name[0]) && letterBucket(name[0], name.size()) == bucket) {
                    heads[filled] = packedHead(name);
                    entries[filled++] = static_cast<unsigned char>(i);
                }
            }
        }
        begin[kLetterBuckets] = static_cast<unsigned char>(filled);
    }
};

constexpr bool letterNamesFitTheIndex() {
    for (const auto& entry : res::kHtmlTagTable) {
        if (!isLetter(entry.name[0])) continue;
        if (entry.name.size() > kLongestLetterName) return false;
        for (char c : entry.name) {
            if (!isLetter(c)) return false;
        }
    }
    return true;
}
static_assert(letterNamesFitTheIndex(), "names that begin with a letter are letters only");

constexpr LetterNameIndex kLetterNameIndex{};

constexpr std::size_t kNoEntry = res::kHtmlTagTable.size();

// The number of the built-in entry for the tag name of letters at `pos`, or
// kNoEntry.
[[gnu::always_inline]] inline std::size_t letterNameEntry(const MarkedLine& line, std::size_t pos) {
    const char* text = line.source().data() + pos;
    const std::size_t available = line.size() - pos;
    std::size_t length = 0;
    const std::uint64_t head = packedLetters(text, available, length);
    if (length == kPackedLetters) {
        while (length < available && isLetter(text[length])) ++length;
    }
    if (length > kLongestLetterName) return kNoEntry;
    const std::size_t bucket = letterBucket(text[0], length);
    for (std::size_t k = kLetterNameIndex.begin[bucket]; k < kLetterNameIndex.begin[bucket + 1];
         ++k) {
        if (kLetterNameIndex.heads[k] != head) continue;
        const std::size_t entry = kLetterNameIndex.entries[k];
        if (length <= kPackedLetters) return entry;  // the word held every letter
        std::string_view name = res::kHtmlTagTable[entry].name;
        std::size_t i = kPackedLetters;
        while (i < length && (text[i] | 0x20) == (name[i] | 0x20)) ++i;
        if (i >= length) return entry;
    }
    return kNoEntry;
}

// 1 when the tag's name fits `name`, 0 when it does not, kTagSortsBeforeEntry
// when it sorts before it (no later entry of a sorted table fits either).
int fitOfName(const MarkedLine& line, std::size_t namePos, std::string_view name) {
    int order = compareName(line, namePos, name);
    if (order < 0) return kTagSortsBeforeEntry;
    if (order > 0) return 0;
    // "H" fits "H1" but not "HR"; "B" does not fit "BODY".
    return isLetter(line.at(namePos + name.size())) ? 0 : 1;
}

// Wraps the tag whose name (`nameSize` bytes) fits an entry as the entry's
// rule says.
[[gnu::always_inline]] inline int applyRule(MarkedLine& line, TagSpan& tag, std::size_t nameSize,
                                            const TagRule& rule) {
    std::size_t nameEnd = tag.namePos + nameSize;
    if (rule.kind == TagKind::Internal) {
        std::size_t before = tag.namePos;
        line.joinContinuedLines(tag.start, tag.namePos, tag.end);
        nameEnd -= before - tag.namePos;
    }
    if (rule.translatableValue && !tag.closing) {
        if (int result = wrapAroundValue(line, tag, nameEnd, rule.attribute, rule.kind);
            result < 0) {
            return result;
        }
    } else {
        line.wrap(tag.start, tag.end, rule.kind);
    }
    if (rule.pre) {
        htmlMarkupState().pre = !tag.closing;
        tag.switchedPre = true;
    }
    tag.start = tag.end;
    return 1;
}

}  // namespace

int funcClassifyHTMLTag(MarkedLine& line, TagSpan& tag, std::string_view name,
                        std::string_view tagClass, std::string_view attribute) {
    if (int fit = fitOfName(line, tag.namePos, name); fit != 1) return fit;
    const TagRule rule = ruleOf(name, tagClass, attribute);
    if (!rule.valid) return kInvalidTagClass;
    return applyRule(line, tag, name.size(), rule);
}

int classifyByUserTags(MarkedLine& line, TagSpan& tag, const UserTagList& tags) {
    const StringNode* name = tags.names.first();
    const StringNode* tagClass = tags.classes.first();
    const StringNode* attribute = tags.attributes.first();
    for (; name != nullptr && tagClass != nullptr && attribute != nullptr;
         name = name->next.get(), tagClass = tagClass->next.get(),
         attribute = attribute->next.get()) {
        int result = funcClassifyHTMLTag(line, tag, name->text, tagClass->text, attribute->text);
        if (result == 0 || result == kTagSortsBeforeEntry) continue;
        return result;
    }
    return 0;
}

int classifyByBuiltInTable(MarkedLine& line, TagSpan& tag) {
    const char first = line.at(tag.namePos);
    std::size_t entry = kNoEntry;
    if (isLetter(first)) {
        entry = letterNameEntry(line, tag.namePos);
    } else {
        // The few names that begin with another byte ("!DOCTYPE", the
        // markers): the entries that begin with it, in order, until one fits.
        const FirstEntryIndex& index = firstEntryIndex();
        const unsigned char byte = folded(first);
        for (std::size_t i = index.start[byte]; i < index.start[byte + 1]; ++i) {
            if (fitOfName(line, tag.namePos, res::kHtmlTagTable[i].name) == 1) {
                entry = i;
                break;
            }
        }
    }
    if (entry == kNoEntry) return 0;
    return applyRule(line, tag, res::kHtmlTagTable[entry].name.size(), kBuiltInRules.rules[entry]);
}

}  // namespace tessel::markup
