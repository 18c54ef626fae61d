// The XLIFF jobs of the tool's own, with the form of the library's exports
// so the batch workflow runs them like any other job: extraction writes
// NAME.xlf beside the source; the merge reads NAME.xlf with its original
// beside it (as the XLIFF's "original" names it) and writes the translated
// file in the source's format, checked as back-conversions are.
#pragma once

#include <string>

#include "core/export_binding.h"
#include "verify/roundtrip.h"
#include "xliff/xliff_reader.h"
#include "xliff/xliff_writer.h"

namespace tessel::app {

struct XliffSettings {
    xliff::XliffVersion version = xliff::XliffVersion::V1_2;
    std::string sourceLanguage = "en";
    std::string targetLanguage;  // empty: none
};

// The settings of the extractions of this run.
void setXliffSettings(const XliffSettings& settings);
const XliffSettings& xliffSettings();

// Return codes of their own, besides the library's.
inline constexpr int kNotMergeableXliff = -2001;
inline constexpr int kOriginalNotFound = -2002;
inline constexpr int kOriginalChanged = -2003;
inline constexpr int kOtherFormat = -2004;

// Extraction: the number of units written, or a return code.
int extractXliff(const XliffJob& job);
// Merge: the number of units that had a target, or a return code (-113 with
// the log's messages when units had none or the translation check found
// something).
int mergeXliff(const XliffJob& job);
// The merge of an XLIFF file already read.
int mergeXliffFile(const XliffJob& job, const xliff::XliffFile& xliff);
// The extension of the merge's output for a format (as its back-conversion's).
std::string mergedExtension(std::string_view format);

// The round trip through XLIFF: extracted, every target a copy of its
// source, merged, and compared with the source as `tessel roundtrip` does.
verify::RoundTripResult roundTripViaXliff(const std::string& path,
                                          const verify::RoundTripFormat& format,
                                          const std::string& tagFile);

// The report line of the last merge in this process ("3 of 12 translation
// units had no target; their source text was kept."); empty when all had
// one or no merge ran.
std::string lastMergeReport();

}  // namespace tessel::app
