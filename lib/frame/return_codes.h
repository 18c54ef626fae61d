// Return codes of the library's jobs: zero or more is success (the change
// count), negative is a failure or -113 when the error log holds messages.
#pragma once

namespace tessel::frame {

enum ReturnCode : int {
    kCannotOpenInput = -101,
    kCannotOpenOutput = -102,
    kOutOfMemory = -103,
    kStreamBufferFailed = -105,
    kCannotRenameInput = -106,
    kCannotRenameBack = -107,
    kCannotDeleteFaulty = -108,
    kOldFileNotDeleted = -110,
    kErrorsInLog = -113,
    kEmptyLogNotDeleted = -114,
    kOutputExists = -115,
    kRtfTooManyClosingBraces = -401,
    kRtfMissingClosingBrace = -402,
    kRtfKeywordTableBug = -403,
    kRtfBadHexCharacter = -404,
    kRtfStackTooSmall = -405,
    kNotAnRtfFile = -406,
    kCannotCloseFile = -407,
    kSameInputAndOutput = -904,
    kInvalidFunction = -1000,
    kUnknownEncodingName = -1010,  // f_iSetSourceEncoding: a name the library does not read
    kRtfOutputExists = -1401,
};

// Function codes naming the library's jobs.
enum FunctionCode : int {
    kRtfToText = 504,
    kRtfToHtml = 508,
    kRtfToPageMaker = 510,
    kRtfToXPress = 511,
    kRtfToSgml = 512,
    kRtfToVentura4 = 513,
    kRtfToCompatibleHtml = 514,
    kRtfToHtmlMultiLingual = 515,
    kKelmoToRtf = 606,
    kMacToAnsi = 610,
    kAnsiToMac = 611,
    kLineBreaksToPc = 613,
    kAddUniqueSgmlTags = 801,
    kExtractSgmlTags = 802,
    kSgmlToRtf = 803,
    kCharsToHtmlEntities = 901,
    kHtmlToRtf = 902,
    kTextToCompatibleHtml = 903,
};

}  // namespace tessel::frame
