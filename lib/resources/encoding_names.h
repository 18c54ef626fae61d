// The encoding names a source may declare or the user may give, and the
// code page each is read in; the names the decision is reported by.
#pragma once

#include <string_view>

namespace tessel::resources {

// Code pages besides the Windows ones that stand for Unicode forms.
inline constexpr int kUtf8EncodingPage = 65001;
inline constexpr int kUtf16LittleEndianPage = 1200;
inline constexpr int kUtf16BigEndianPage = 1201;

struct EncodingName {
    std::string_view name;  // lower case; compared without regard to case
    int codePage;
};

// ISO 8859-1 and US-ASCII are read as Windows 1252, as every undeclared
// file is: 1252 holds all their characters at the same bytes; ISO 8859-9
// and 8859-11 likewise as 1254 and 874, as browsers read them. EUC-KR and
// GB2312 are read through the Windows pages that extend them. ISO 8859-6
// (Arabic) has a table of its own, under its Windows number 28596.
inline constexpr EncodingName kEncodingNames[] = {
    {"utf-8", kUtf8EncodingPage},
    {"utf8", kUtf8EncodingPage},
    {"utf-16", kUtf16LittleEndianPage},
    {"utf-16le", kUtf16LittleEndianPage},
    {"utf-16be", kUtf16BigEndianPage},
    {"windows-1252", 1252},
    {"cp1252", 1252},
    {"iso-8859-1", 1252},
    {"iso8859-1", 1252},
    {"latin1", 1252},
    {"latin-1", 1252},
    {"l1", 1252},
    {"us-ascii", 1252},
    {"ascii", 1252},
    {"windows-1250", 1250},
    {"cp1250", 1250},
    {"windows-1251", 1251},
    {"cp1251", 1251},
    {"windows-1253", 1253},
    {"cp1253", 1253},
    {"windows-1254", 1254},
    {"cp1254", 1254},
    {"iso-8859-9", 1254},
    {"iso8859-9", 1254},
    {"latin5", 1254},
    {"windows-1255", 1255},
    {"cp1255", 1255},
    {"windows-1256", 1256},
    {"cp1256", 1256},
    {"windows-1257", 1257},
    {"cp1257", 1257},
    {"windows-1258", 1258},
    {"cp1258", 1258},
    {"windows-874", 874},
    {"cp874", 874},
    {"tis-620", 874},
    {"iso-8859-11", 874},
    {"iso8859-11", 874},
    {"shift_jis", 932},
    {"shift-jis", 932},
    {"sjis", 932},
    {"x-sjis", 932},
    {"windows-31j", 932},
    {"cp932", 932},
    {"ms932", 932},
    {"gb2312", 936},
    {"gbk", 936},
    {"x-gbk", 936},
    {"cp936", 936},
    {"euc-kr", 949},
    {"ks_c_5601-1987", 949},
    {"cp949", 949},
    {"big5", 950},
    {"cp950", 950},
    {"iso-8859-6", 28596},
    {"iso8859-6", 28596},
    {"iso_8859-6", 28596},
    {"iso88596", 28596},
    {"iso-8859-6-i", 28596},
    {"iso-8859-6-e", 28596},
    {"arabic", 28596},
    {"ecma-114", 28596},
    {"asmo-708", 28596},
};

// Prefixes before a code page's number in a name ("windows-1251", "cp1251",
// "x-cp1251", "1251"); the longer of two alike first.
inline constexpr std::string_view kNumberedEncodingPrefixes[] = {"windows-", "windows", "x-cp",
                                                                 "cp-",      "cp",      ""};

// How the per-file report names the encoding a source was read in.
inline constexpr std::string_view kUtf8ReportName = "UTF-8";
inline constexpr std::string_view kUtf16LittleEndianReportName = "UTF-16LE";
inline constexpr std::string_view kUtf16BigEndianReportName = "UTF-16BE";
inline constexpr std::string_view kCodePageReportName = "code page %s";

// Why it was read so: "Read as UTF-8 (byte-order mark)".
inline constexpr std::string_view kSourceEncodingReport = "Read as %s (%s)";
inline constexpr std::string_view kByByteOrderMark = "byte-order mark";
inline constexpr std::string_view kByDeclaration = "declared in the file";
inline constexpr std::string_view kByUserChoice = "the encoding chosen";
inline constexpr std::string_view kByUtf8Content = "not declared; the text is valid UTF-8";
inline constexpr std::string_view kByDefault = "not declared";
inline constexpr std::string_view kUnreadDeclarationReport =
    "Read as %s (the declared \"%s\" is not an encoding the library reads)";

// A back-conversion of HTML or SGML whose document declares its encoding (a
// META or XML declaration, a byte-order mark) writes that encoding, not the
// code page chosen for documents that declare none.
inline constexpr std::string_view kChosenCodePageNotUsedReport =
    "Written as %s (declared in the document; the code page chosen, %s, is not used)";

}  // namespace tessel::resources
