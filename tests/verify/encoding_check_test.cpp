// Encodings in the round trip and the translation check: the entities rule
// explains a difference only when both sides read as the same characters,
// each in its own encoding, and UTF-8 read as Windows 1252 is a finding.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/check_texts.h"
#include "verify/misread_utf8.h"
#include "verify/text_encoding.h"
#include "verify_test_support.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using verify::RoundTripRule;
using verify::TextEncoding;

const fs::path kData = fs::path(TESSEL_SOURCE_DIR) / "tests/verify/data/encodings";

constexpr RoundTripRule kHtmlRules[] = {
    RoundTripRule::LineEnds,     RoundTripRule::FinalLineEnd, RoundTripRule::TrailingBlanks,
    RoundTripRule::HtmlEntities, RoundTripRule::JoinedLines,  RoundTripRule::LineBreakBeforeTag};

TextEncoding pageOf(int codePage) {
    return {TextEncoding::Form::CodePage, platform::CodePageCodec::find(codePage)};
}

// The differences other than line ends.
std::vector<verify::Difference> textDifferences(std::string_view source, std::string_view output) {
    std::vector<verify::Difference> all = verify::compareRoundTrip(source, output, kHtmlRules);
    std::erase_if(all, [](const verify::Difference& d) {
        return d.rules == std::vector{RoundTripRule::LineEnds};
    });
    return all;
}

bool allUnexplained(const std::vector<verify::Difference>& differences) {
    return std::all_of(differences.begin(), differences.end(),
                       [](const verify::Difference& d) { return d.rules.empty(); });
}

bool allEntities(const std::vector<verify::Difference>& differences) {
    return std::all_of(differences.begin(), differences.end(), [](const verify::Difference& d) {
        return d.rules == std::vector{RoundTripRule::HtmlEntities};
    });
}

// A UTF-8 page and what the back-conversion wrote for it when it read the
// page as Windows 1252: every letter outside ASCII as the entities of its
// bytes ("ż" as "&Aring;&frac14;"). Those are other characters.
TEST(RoundTripEncodings, Utf8ReadAsWindows1252IsUnexplained) {
    std::string source = readFile((kData / "polish-utf8.html").string());
    std::string output = readFile((kData / "polish-utf8-back-as-1252.htm").string());
    ASSERT_FALSE(source.empty());
    ASSERT_NE(output.find("&Aring;&frac14;"), std::string::npos);
    auto differences = textDifferences(source, output);
    ASSERT_EQ(differences.size(), 4u);
    EXPECT_TRUE(allUnexplained(differences));
    EXPECT_EQ(differences[0].line, 4u);
    EXPECT_EQ(differences[0].column, 6u);

    // The same characters as references, or as themselves, are the rule's.
    std::string asReferences = source;
    auto replace = [&](std::string_view from, std::string_view to) {
        asReferences.replace(asReferences.find(from), from.size(), to);
    };
    replace("\xC5\xBC\xC3\xB3", "&#380;&oacute;");
    replace("\xE2\x80\x94", "&mdash;");
    replace("\xE6\x97\xA5", "&#x65E5;");
    differences = textDifferences(source, asReferences);
    ASSERT_EQ(differences.size(), 3u);
    EXPECT_TRUE(allEntities(differences));
    EXPECT_TRUE(textDifferences(source, source).empty());
}

// Each side in its own encoding: a windows-1251 page written back with
// references for letters it holds is alike; written as the Windows 1252
// entities of its bytes it is not.
TEST(RoundTripEncodings, EachSideIsReadInTheEncodingItDeclares) {
    const std::string head = "<html><head><meta charset=\"windows-1251\"></head>\n<p>";
    std::string source = head + "\xCF\xF0\xE8\xE2\xE5\xF2</p>\n";  // "Привет"
    std::string referenced = head + "&#1055;\xF0\xE8&#x432;\xE5\xF2</p>\n";
    std::string mojibake = head + "&Iuml;&eth;&egrave;&acirc;&aring;&ograve;</p>\n";
    EXPECT_TRUE(allEntities(textDifferences(source, referenced)));
    EXPECT_EQ(textDifferences(source, referenced).size(), 1u);
    auto wrong = textDifferences(source, mojibake);
    ASSERT_EQ(wrong.size(), 1u);
    EXPECT_TRUE(wrong[0].rules.empty());

    // A page in Windows 1252 keeps the rule as it was: the letter against
    // its named entity, numeric references and the 1252 punctuation that
    // references from 128 to 159 stand for.
    std::string western = "<p>caf\xE9 \x93quoted\x94 \x80</p>\n";
    std::string entities = "<p>caf&eacute; &ldquo;quoted&#148; &#8364;</p>\n";
    EXPECT_TRUE(allEntities(textDifferences(western, entities)));
    EXPECT_FALSE(textDifferences(western, entities).empty());

    // A declared encoding without a table: its bytes are known as no
    // character, so no entity explains them.
    std::string russian = "<meta charset=\"koi8-r\">\n<p>\xC7\xE4</p>\n";
    auto unknown = textDifferences(russian, "<meta charset=\"koi8-r\">\n<p>&Ccedil;&auml;</p>\n");
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_TRUE(unknown[0].rules.empty());

    // ISO 8859-6 has its table: C7 E4 is alef lam, which the references
    // name and the 1252 entities of the same bytes do not.
    std::string arabic = "<meta charset=\"iso-8859-6\">\n<p>\xC7\xE4</p>\n";
    auto named = textDifferences(arabic, "<meta charset=\"iso-8859-6\">\n<p>&#1575;&#x644;</p>\n");
    EXPECT_FALSE(named.empty());
    EXPECT_TRUE(allEntities(named));
    auto misread =
        textDifferences(arabic, "<meta charset=\"iso-8859-6\">\n<p>&Ccedil;&auml;</p>\n");
    ASSERT_EQ(misread.size(), 1u);
    EXPECT_TRUE(misread[0].rules.empty());
}

// A piece of the byte diff can cut a UTF-8 sequence: "ä" against "ã"
// differs in the last byte only, and still names other characters.
TEST(RoundTripEncodings, AChangeInsideASequenceIsAChangedCharacter) {
    auto differences = textDifferences("<meta charset=utf-8>\n<p>B\xC3\xA4r</p>\n",
                                       "<meta charset=utf-8>\n<p>B\xC3\xA3r</p>\n");
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_TRUE(differences[0].rules.empty());
}

TEST(TaggedTextEncoding, MarkBeforeDeclarationBeforeContent) {
    using verify::encodingOfTaggedText;
    const TextEncoding utf8 = TextEncoding::utf8();
    const TextEncoding western = TextEncoding::windows1252();
    EXPECT_EQ(encodingOfTaggedText("\xEF\xBB\xBF<p>\xE9</p>"), utf8);
    EXPECT_EQ(encodingOfTaggedText("\xFF\xFE<\0p\0>\0"), TextEncoding::unknownBytes());
    EXPECT_EQ(encodingOfTaggedText("<META CHARSET='UTF-8'><p>\xE9</p>"), utf8);
    EXPECT_EQ(encodingOfTaggedText("<meta http-equiv=\"Content-Type\" "
                                   "content=\"text/html; charset=Windows-1251\">"),
              pageOf(1251));
    EXPECT_EQ(encodingOfTaggedText("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<a/>"),
              pageOf(932));
    EXPECT_EQ(encodingOfTaggedText("<meta charset=\"iso-8859-1\"><p>\xC3\xA9</p>"), western);
    EXPECT_EQ(encodingOfTaggedText("<meta charset=\"koi8-r\">"), TextEncoding::unknownBytes());
    // The spellings of a Windows page that pages of the corpus use.
    for (const char* name : {"cp-1252", "CP1252", "x-cp1252", "windows1252"}) {
        EXPECT_EQ(verify::codePageOfEncodingName(name), 1252) << name;
    }
    EXPECT_EQ(verify::codePageOfEncodingName("cp-12"), 0);
    // Undeclared: valid UTF-8 with a multi-byte sequence, else 1252.
    EXPECT_EQ(encodingOfTaggedText("<p>caf\xC3\xA9</p>"), utf8);
    EXPECT_EQ(encodingOfTaggedText("<p>caf\xE9</p>"), western);
    EXPECT_EQ(encodingOfTaggedText("<p>plain</p>"), western);
    // An overlong form and a surrogate are not UTF-8.
    EXPECT_EQ(encodingOfTaggedText("<p>\xC0\xAF</p>"), western);
    EXPECT_EQ(encodingOfTaggedText("<p>\xED\xA0\x80</p>"), western);
}

TEST(TaggedTextEncoding, EntitiesAndBytesAsCharacters) {
    using verify::charactersOf;
    EXPECT_EQ(charactersOf("&eacute;&#233;&#xE9;\xE9", TextEncoding::windows1252()),
              "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
    EXPECT_EQ(charactersOf("&#150;&#8211;&ndash;", TextEncoding::utf8()),
              "\xE2\x80\x93\xE2\x80\x93\xE2\x80\x93");
    // What is no entity of the tables stays as it is; so does a broken byte
    // of UTF-8, as U+FFFD.
    EXPECT_EQ(charactersOf("&hellip; &#xD800; & x; &#0;", TextEncoding::utf8()),
              "&hellip; &#xD800; & x; &#0;");
    EXPECT_EQ(charactersOf("a\xE9z", TextEncoding::utf8()), "a\xEF\xBF\xBDz");
    EXPECT_EQ(charactersOf("\x82\xA0", pageOf(932)),
              "\xE3\x81\x82");  // "あ"
}

std::vector<std::string> misread(std::string_view text) {
    std::vector<std::string> found;
    for (const verify::MisreadUtf8& m : verify::findMisreadUtf8(text)) {
        found.push_back(std::string(text.substr(m.begin, m.end - m.begin)) + "=" + m.meant);
    }
    return found;
}

TEST(MisreadUtf8, OnlyTheWholeBytePatternOfASequence) {
    using Found = std::vector<std::string>;
    // "Ã©" is "é", "â€™" is "’", "Ã¤" is "ä"; adjacent ones are one stretch.
    EXPECT_EQ(
        misread("caf\xC3\x83\xC2\xA9 l\xC3\xA2\xE2\x82\xAC\xE2\x84\xA2s"),
        (Found{"\xC3\x83\xC2\xA9=\xC3\xA9", "\xC3\xA2\xE2\x82\xAC\xE2\x84\xA2=\xE2\x80\x99"}));
    EXPECT_EQ(misread("\xC3\x83\xC2\xA4\xC3\x83\xC2\xB6"),
              (Found{"\xC3\x83\xC2\xA4\xC3\x83\xC2\xB6=\xC3\xA4\xC3\xB6"}));
    // Portuguese and French letters of the same range are no pattern: "São",
    // "Ãgua", "ÃO", "Â" alone, "Ã" at the end.
    EXPECT_TRUE(misread("S\xC3\xA3o \xC3\x83gua \xC3\x83O \xC3\x82 fim \xC3\x83").empty());
    // A lead byte with too few continuation bytes, and an overlong form.
    EXPECT_TRUE(misread("\xC3\xA2\xE2\x82\xAC x").empty());
    EXPECT_TRUE(misread("\xC3\xA0\xC2\x80 x").empty());
    EXPECT_TRUE(misread("plain text").empty());
}

// The RTF that the mark-up wrote for a UTF-8 page it read as Windows 1252:
// one finding per paragraph, with its name in the line and in the JSON.
TEST(MisreadUtf8, IsAFindingOfItsOwn) {
    TempDir dir;
    std::string rtf =
        dir.write("polish.rtf", readFile((kData / "polish-utf8-marked-as-1252.rtf").string()));
    app::VerifyReport report = app::verifyTranslations({{rtf, rtf}}, {});
    ASSERT_EQ(report.findings.size(), 3u);
    const verify::Finding& first = report.findings.front();
    EXPECT_EQ(first.kind, verify::FindingKind::Utf8ReadAs1252);
    EXPECT_EQ(first.paragraph, 4u);
    EXPECT_EQ(first.column, 6u);
    EXPECT_EQ(first.other, "\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87");  // "żółć"
    EXPECT_EQ(first.places, 4u);
    std::string line = app::findingLine(first);
    EXPECT_NE(line.find(": utf8-read-as-1252: "), std::string::npos) << line;
    EXPECT_NE(line.find("(4 places in the paragraph)"), std::string::npos) << line;
    std::string json = app::findingJson(first);
    EXPECT_NE(json.find("\"kind\":\"utf8-read-as-1252\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"places\":4"), std::string::npos) << json;
    EXPECT_EQ(report.totals.byKind.at("utf8-read-as-1252"), 3u);

    // Portuguese text in Windows 1252, marked up: no finding.
    std::string page = dir.write("pt.htm",
                                 "<html><body>\n<p>S\xE3o Paulo, \xC3gua, "
                                 "\xC3O, cora\xE7\xE3o</p>\n</body></html>\n");
    std::string western = markUp(dir, page, false, "pt.htm");
    ASSERT_FALSE(western.empty());
    EXPECT_TRUE(app::verifyTranslations({{western, western}}, {}).findings.empty());
}

}  // namespace
}  // namespace tessel::test
