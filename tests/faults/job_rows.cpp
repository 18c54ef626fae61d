#include "faults/job_rows.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "tessel_cat.h"

namespace tessel::test {

namespace {

namespace fs = std::filesystem;

int runTextEngine(const std::string& input, int code, const char* extension) {
    std::array<char, 300> path{};
    input.copy(path.data(), std::min(input.size(), path.size() - 1));
    return funciTextReadWriteParser(path.data(), code, 1, extension);
}

std::string besideInput(const std::string& input, const char* name) {
    return (fs::path(input).parent_path() / name).string();
}

const std::string kRtf =
    "{\\rtf1 \\ansi {\\fonttbl {\\f1 Courier;}}{\\cs6 <B>}caf\\'e9 text\\par\n"
    "{\\cs5 <P>}line \\ldblquote two\\rdblquote\\par\n}";
const std::string kMacPageMakerRtf =
    "{\\rtf1 \\ansi {\\cs5 <PMTags1.0 mac>}\\par\nCaf\\'e9 \\'80 euro\\par\n}";
const std::string kMacXPressRtf =
    "{\\rtf1 \\ansi {\\cs5 <v6.50><e0>}\\par\n{\\cs5 @Normal:}Caf\\'e9 \\'80 {\\cs6 <B>}x\\par\n}";
const std::string kVentura4Rtf =
    "{\\rtf1 \\ansi {\\cs5 @BODY TEXT = }Hello {\\cs6 <B>}bold{\\cs6 <D>} caf\\'e9\\par\n"
    "\\par\n{\\cs5 @BODY = }two\\par\n}";
// A page with a charset declaration for the charset step to replace.
const std::string kHtmlPageRtf =
    "{\\rtf1 \\ansi {\\cs5 <HTML><HEAD>}\\par\n"
    "{\\cs5 <META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-1\">}\\par\n"
    "{\\cs5 </HEAD><BODY>}\\par\n{\\cs5 <P>}Caf\\'e9 \\'80 {\\cs6 <B>}bold{\\cs6 </B>}\\par\n"
    "{\\cs5 </BODY></HTML>}\\par\n}";
const std::string kHtml =
    "<HTML><BODY>\n<P>Caf&eacute; <B>bold</B> <ABBR>x</ABBR>\nAT&T\n<A HREF=\"a\"\n"
    "TITLE=\"t\">l</A>\n</BODY></HTML>\n";
const std::string kSgml =
    "<!doctype doc system>\n<chapter><title>Caf\xe9 &amp; tea</title>\n"
    "<p>Text <emph>word</emph> and <tt/net/\n<!-- a comment\nover lines -->\n<p>open <b\n"
    "</chapter>\n";
const std::string kXPress = "<v1.70><e1>\n@Normal:Hello <B>bold<B$> w\xE9rld\t<\\#183>\n<$>\n";
const std::string kMacXPress = "<v6.50><e0>\r@Normal:Caf\x8E <B>bold<B$>\r";
const std::string kVentura =
    "@BODY TEXT = Hello <B>bold<D> {x}\t<<y>> <@183>\nwrapped line\n\n"
    "@BODY = Note<$Fsee <I>page 3> and<$I>, <$Ientry;sub>.\n";

// A multilingual page without what the charset step changes: the value of
// its charset declaration, or the declaration the step inserted before the
// first line.
std::string withoutCharsetStep(const std::string& html) {
    std::string text = html;
    std::string upper = text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string inserted = "\r\n<META HTTP-EQUIV=\"CONTENT-TYPE\"";
    if (upper.starts_with(inserted)) return text.substr(text.find('>') + 1);
    std::size_t at = upper.find("CHARSET=");
    if (at == std::string::npos) return text;
    std::size_t end = text.find('"', at);
    return text.replace(at, end == std::string::npos ? std::string::npos : end - at, "charset=*");
}

std::vector<JobRow> textJobRows() {
    return {
        {"line breaks in place",
         "doc.txt",
         "one\rtwo\nthree\r\n",
         [](const std::string& p) { return runTextEngine(p, 613, nullptr); },
         {},
         true},
        {"ANSI to Macintosh", "doc.txt", "euro \x80 caf\xe9\n",
         [](const std::string& p) { return runTextEngine(p, 611, ".mac"); }},
        {"entities", "doc.txt", "a < b & caf\xe9\n",
         [](const std::string& p) { return runTextEngine(p, 901, ".htm"); }},
    };
}

std::vector<JobRow> markupRows() {
    return {
        {"HTML mark-up", "page.htm", kHtml,
         [](const std::string& p) { return f_iHTML2RTF(p.c_str(), nullptr); }},
        {"HTML mark-up with a tag file",
         "page.htm",
         kHtml,
         [](const std::string& p) {
             return f_iHTML2RTF(p.c_str(), besideInput(p, "tags.txt").c_str());
         },
         {{"tags.txt", "ABBR\tE\n"}}},
        {"SGML tags added to a tag file",
         "doc.sgm",
         kSgml,
         [](const std::string& p) {
             return f_iAddUniqueSGMLTagsToFile(p.c_str(), besideInput(p, "tags.txt").c_str());
         },
         {{"tags.txt", "<chapter>\n<zz>\n"}},
         false,
         {},
         {},
         {"tags.txt"}},
        {"SGML tags collected into a new tag file",
         "doc.sgm",
         kSgml,
         [](const std::string& p) {
             return f_iAddUniqueSGMLTagsToFile(p.c_str(), besideInput(p, "tags.txt").c_str());
         },
         {},
         false,
         {},
         {},
         {"tags.txt"}},
        {"SGML tag extraction", "doc.sgm", kSgml,
         [](const std::string& p) { return funciSGMLTextReadWrite(p.c_str(), 802, nullptr); }},
        {"SGML mark-up",
         "doc.sgm",
         kSgml,
         [](const std::string& p) {
             return f_iSGML2RTF(p.c_str(), besideInput(p, "tags.txt").c_str());
         },
         {{"tags.txt", "<chapter>\n<title>\n<p>\n"}}},
        {"SGML entities", "doc.sgm", kSgml,
         [](const std::string& p) { return funciSGMLTextReadWrite(p.c_str(), 901, nullptr); }},
    };
}

std::vector<JobRow> converterRows() {
    std::vector<JobRow> rows = {
        {"PageMaker mark-up", "pm.txt", "<PMTags1.0 win>\n<@Body:>Hello <B>bold<P>\n",
         [](const std::string& p) { return f_iPageMaker2RTF(p.c_str()); }},
        {"PageMaker mark-up with a syntax error", "pm.txt", "<PMTags1.0 win>\n<@Body:>a <B\n",
         [](const std::string& p) { return f_iPageMaker2RTF(p.c_str()); }},
        {"PageMaker mark-up with a recovered syntax error", "pm.txt",
         "<PMTags1.0 win>\n<> text <B>x\n",
         [](const std::string& p) { return f_iPageMaker2RTF(p.c_str()); }},
        {"QuarkXPress mark-up",
         "doc.xtg",
         kXPress,
         [](const std::string& p) { return f_iXPress2RTF(p.c_str()); },
         {},
         false,
         {"doc.tmp"}},
        {"Macintosh QuarkXPress mark-up",
         "doc.xtg",
         kMacXPress,
         [](const std::string& p) { return f_iXPress2RTF(p.c_str()); },
         {},
         false,
         {"doc.tmp"}},
        {"QuarkXPress mark-up with a syntax error",
         "doc.xtg",
         "<v1.70><e1>\n@Normal:a <B\n",
         [](const std::string& p) { return f_iXPress2RTF(p.c_str()); },
         {},
         false,
         {"doc.tmp"}},
        {"QuarkXPress mark-up with a recovered syntax error",
         "doc.xtg",
         "#a\n#b\n<v1.70><e1>\n<B>text\n",
         [](const std::string& p) { return f_iXPress2RTF(p.c_str()); },
         {},
         false,
         {"doc.tmp"}},
        {"Ventura 4 mark-up", "doc.txt", kVentura,
         [](const std::string& p) { return f_iVentura4toRTF(p.c_str()); }},
        {"Ventura 5 to 7 mark-up", "doc.txt", kVentura,
         [](const std::string& p) { return f_iVentura567toRTF(p.c_str()); }},
        {"Ventura mark-up with a syntax error", "doc.txt", "@BODY = text > more <B\n",
         [](const std::string& p) { return f_iVentura567toRTF(p.c_str()); }},
        {"Ventura 4 mark-up with a recovered syntax error", "doc.txt",
         "@BODY = a<$Fb <I>c<D>d> <B>e\n",
         [](const std::string& p) { return f_iVentura4toRTF(p.c_str()); }},
    };
    // The Ventura converters open their input with the parser, which reports
    // a file it cannot open as a parser that could not be set up.
    for (JobRow& row : rows) {
        if (row.name.starts_with("Ventura")) row.cannotOpenCode = -1;
    }
    return rows;
}

std::vector<JobRow> backConversionRows() {
    std::vector<JobRow> rows = {
        {"RTF to HTML", "back.rtf", kRtf,
         [](const std::string& p) { return f_iRTF2HTML(p.c_str(), ".htm"); }},
        {"RTF to compatible HTML", "back.rtf", kRtf,
         [](const std::string& p) { return f_iRTF2CompatibleHTML(p.c_str(), ".htm"); }},
        {"RTF to text", "back.rtf", kRtf,
         [](const std::string& p) { return f_iRTF2Text(p.c_str(), ".txt"); }},
        {"RTF to SGML", "back.rtf", kRtf,
         [](const std::string& p) { return f_iRTF2SGML(p.c_str(), ".sgm"); }},
        {"RTF to Macintosh PageMaker", "back.rtf", kMacPageMakerRtf,
         [](const std::string& p) { return f_iRTF2PageMaker(p.c_str(), ".txt"); }},
        {"RTF to Macintosh QuarkXPress", "back.rtf", kMacXPressRtf,
         [](const std::string& p) { return f_iRTF2XPress(p.c_str(), ".xtg"); }},
        {"RTF to Ventura 4", "back.rtf", kVentura4Rtf,
         [](const std::string& p) { return f_iVentura4RTF2Text(p.c_str(), ".txt"); }},
    };
    JobRow multilingual{
        "RTF to multilingual HTML", "back.rtf", kHtmlPageRtf,
        [](const std::string& p) { return f_iRTF2HTMLMultiLingual(p.c_str(), ".htm", 1251); }};
    multilingual.withoutFinalStep = withoutCharsetStep;
    rows.push_back(multilingual);
    JobRow named = multilingual;
    named.name = "RTF to multilingual HTML with a charset name";
    named.run = [](const std::string& p) {
        return f_iRTF2HTMLMultiLingualWithCharSet(p.c_str(), ".htm", 1252, "iso-8859-15");
    };
    rows.push_back(named);
    JobRow inserted = multilingual;
    inserted.name = "RTF to multilingual HTML without a declaration";
    inserted.input = kRtf;
    rows.push_back(inserted);
    return rows;
}

}  // namespace

std::vector<JobRow> jobRows() {
    std::vector<JobRow> rows;
    for (auto* family : {textJobRows, markupRows, converterRows, backConversionRows}) {
        std::vector<JobRow> more = family();
        rows.insert(rows.end(), more.begin(), more.end());
    }
    return rows;
}

}  // namespace tessel::test
