// The round trip of a source file before translation: marked up in a
// scratch folder, converted back with the matching back-conversion without
// translation, and compared byte for byte with the source. Each difference
// is reported with its line and column and the rule that causes it.
//
// The formats are rows of a table (roundtrip.cpp): a format that marks up is
// one row with its mark-up, its back-conversion and its rules.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tessel_cat.h"
#include "verify/roundtrip_rules.h"

namespace tessel::verify {

// What a mark-up does with a tag file.
enum class TagFileUse {
    None,       // takes none
    Optional,   // takes one when given
    Collected,  // needs one: without it one is collected from the file, all its tags external
};

struct RoundTripFormat {
    std::string_view name;  // "html": the name users give with --format
    // Extensions (lower case, with the dot) of the format's files.
    std::span<const std::string_view> extensions;
    // True when the first bytes of a file are of the format (its header).
    bool (*recognises)(std::string_view head);
    // Writes NAME.rtf or NAME.RTF; `tagFile` is null when none is used.
    int (*markUp)(const char* path, const char* tagFile);
    int(TESSEL_CALL* convertBack)(const char* rtf,
                                  const char* extension);  // writes NAME + extension
    std::span<const RoundTripRule> rules;                  // tried in this order
    TagFileUse tagFile = TagFileUse::None;
};

std::span<const RoundTripFormat> roundTripFormats();
const RoundTripFormat* findRoundTripFormat(std::string_view name);
// The format of a file: by its header, else by its extension; null if none.
const RoundTripFormat* formatOfFile(const std::string& path);

struct Difference {
    std::string file;
    std::size_t line = 0;  // in the source, from 1; columns count bytes from 1
    std::size_t column = 0;
    std::size_t outputLine = 0;
    std::size_t outputColumn = 0;
    std::vector<RoundTripRule> rules;  // empty: no rule explains it
    std::string source;                // the bytes that differ
    std::string output;
    std::size_t count = 1;  // line-ends: the line ends concerned
};

struct RoundTripOptions {
    const RoundTripFormat* format = nullptr;  // null: by each file's header or extension
    std::string tagFile;                      // for the formats that take one; empty: none
    bool viaXliff = false;                    // through XLIFF instead of RTF
};

struct RoundTripResult {
    std::string file;
    const RoundTripFormat* format = nullptr;
    int markUpResult = 0;  // the exports' return codes
    int backResult = 0;
    bool failed = false;  // no RTF or no output to compare
    // When a step failed: the first message of its log ("Parse Error: ...").
    std::string failureMessage;
    bool identical = false;
    std::vector<Difference> differences;
};

// `tagFile`: the user's tag file for a format that takes one, or empty.
RoundTripResult roundTrip(const std::string& path, const RoundTripFormat& format,
                          const std::string& tagFile = {});

// The encodings the two sides of a round trip are read in.
struct SideEncodings {
    TextEncoding source;
    TextEncoding output;
};

// The differences of `output` from `source` under `rules` (roundtrip's
// comparison on bytes in memory), each side read in its encoding; the first
// form takes each side's encoding from its own bytes (encodingOfTaggedText).
std::vector<Difference> compareRoundTrip(std::string_view source, std::string_view output,
                                         std::span<const RoundTripRule> rules);
std::vector<Difference> compareRoundTrip(std::string_view source, std::string_view output,
                                         std::span<const RoundTripRule> rules,
                                         const SideEncodings& encodings);

}  // namespace tessel::verify
