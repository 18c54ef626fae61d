// Texts of the HTML mark-up job: the messages of the tag definition file
// reader and the job's own log line. Formats use %d and %s.
#pragma once

#include <string_view>

namespace tessel::resources {

inline constexpr std::string_view kTagFileReading = "Reading tag file: %s\n";
inline constexpr std::string_view kTagFileNoStreamBuffer = "Can't use setvbuf on the tag file.\n";
inline constexpr std::string_view kTagListNotInitialized = "Tag list not initialized.\n";
inline constexpr std::string_view kTagFileNoTab =
    "No tab character found on this line in the tag file:\n%s\n";
inline constexpr std::string_view kTagFileNameInsertFailed = "funciLLInsertAfter failed!\n";
inline constexpr std::string_view kTagFileBadClassLetters =
    "Something is wrong. There should be 1 or 2 characters left in the string, and they should "
    "be only S/E/I/D characters.\nText:\n%s\nLeft:\n%s\n";
inline constexpr std::string_view kTagFileClassInsertFailed3 = "Failed on funciLLInsertAfter (3)\n";
inline constexpr std::string_view kTagFileAttributeInsertFailed4 =
    "Failed on funciLLInsertAfter (4)\n";
inline constexpr std::string_view kTagFileBadClass =
    "Tag not internal, external, or DO_NOT_TRANSLATE in tag file on this line:\n%s\n";
inline constexpr std::string_view kTagFileClassInsertFailed = "Failed on funciLLInsertAfter\n";
inline constexpr std::string_view kTagFileAttributeInsertFailed2 =
    "Failed on funciLLInsertAfter (2)\n";
inline constexpr std::string_view kTagFileReadSuccessfully = "Tag file %s read successfully!\n\n";

inline constexpr std::string_view kHtmlTagFileError =
    "Error code %d returned when reading HTML tag file %s\n";

// Output extension of the HTML mark-up job.
inline constexpr std::string_view kRtfExtension = "rtf";

}  // namespace tessel::resources
