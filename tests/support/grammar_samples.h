// Small typical documents of the five grammars, shared by the table tests and
// the runtime tests.
#pragma once

namespace tessel::testing {

inline constexpr const char* kPageMakerSample =
    "junk <PMTags1.0 win>\n<@Normal:>Hello \\<world\\> <B>bold<P>\n<*INDEX \"a b\" \"c\">\n"
    "<GTABS(1,2)><C-COLORTABLE (\"Black\" 1 0 0 0)><@Body Text=<FONT \"Arial\"><SIZE "
    "10>>\n<G>x<g2>";

inline constexpr const char* kQuarkSample =
    "<v1.70><e0>\n@Normal:Hello <B>bold<B$> world<$>\n<*L>Left@Body=[S\"\",\"\"]text\n"
    "<\\#183>x<$><B>\n<$>more\n<Az\"F\"<x>>tail<\\>>\n@Heading:\n\n<$>\n";

inline constexpr const char* kHtmlSample =
    "x<html lang=en>\n<HEAD><!-- <META charset=no> --><SCRIPT>var a=\"<META>\";</script>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=x-sjis\">\n"
    "<META charset=\"utf-8\"/>\n<a href=\"x\ny\">t</a>\n</HEAD></HTML>tail";

inline constexpr const char* kVentura4Sample =
    "@BODY TEXT = Hello <B>bold<D> and <$F footnote <I>x > (a) <<x>> <@183>\n@Z_X=Y = t\n\n"
    "@Z_TBL_BEG = COLUMNS(2), DIMENSION(IN)\n\n@Z_TBL_HEAD = TABLE HEADING, TABLE HEADING\n\n"
    "Head 1, Head 2\n\n@Z_TBL_BODY = TABLE TEXT, TABLE TEXT\n\nCell 1,,Cell <B>2<D>, WIDTH(2)\n\n"
    "@Z_TBL_END = \n\n<$!x>after\n";

// The Ventura 4 sample with a code in place of the character code.
inline constexpr const char* kVenturaSample =
    "@BODY TEXT = Hello <B>bold<D> and <$F footnote <I>x > (a) <<x>> <$N>\n@Z_X=Y = t\n\n"
    "@Z_TBL_BEG = COLUMNS(2), DIMENSION(IN)\n\n@Z_TBL_HEAD = TABLE HEADING, TABLE HEADING\n\n"
    "Head 1, Head 2\n\n@Z_TBL_BODY = TABLE TEXT, TABLE TEXT\n\nCell 1,,Cell <B>2<D>, WIDTH(2)\n\n"
    "@Z_TBL_END = \n\n<$!x>after\n";

}  // namespace tessel::testing
