// Whole SGML jobs through the exports: tag file, RTF, .xsg and log byte for
// byte; names, existing files and refusals; and inputs that must end with a
// result and lose nothing.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <filesystem>
#include <string>

#include "support/rtf_expectations.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

using tessel::test::crlf;
using tessel::test::exists;
using tessel::test::kLogRule;
using tessel::test::logHeader;
using tessel::test::quotedSegment;
using tessel::test::readFile;
using tessel::test::rtfDocument;
using tessel::test::TempDir;
using tessel::test::withoutDate;

const std::string& I = tessel::test::kInternalRun;
const std::string& E = tessel::test::kExternalRun;

const std::string kSgmlSummaryHeading =
    "\n------------------------------------------------- Summary "
    "-------------------------------------------------\n";

std::string sgmlLogHeader(const std::string& path, const std::string& functionTitle) {
    return logHeader("SGML/HTML Text Parser", path, functionTitle);
}

// The summary of the SGML codes with `errors` messages and `tags` counted.
std::string sgmlSummary(int errors, int tags, const std::string& path) {
    std::string e = errors == 1 ? "" : "s";
    std::string t = tags == 1 ? "" : "s";
    return kSgmlSummaryHeading + "\t" + std::to_string(errors) + " faulty SGML Tag" + e +
           " detected in this file!\n\tThe SGML Tag" + e +
           " may acutally be correctly abbreviated \n\t- but the Tessel CAT Tools does not "
           "support abbreviated SGML Tags.\n\t" +
           std::to_string(tags) + " SGML Tag" + t +
           " successfully extracted.\n\tThe original file is saved as " + path + "\n" + kLogRule +
           "\n";
}

ino_t inodeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(SgmlCollectTags, NewTagFileSortedAndASecondRunChangesNothing) {
    TempDir dir;
    auto doc = dir.write("doc.sgm", "<P>Hello <B>world</B></P>\r\n");
    auto tags = dir.file("tags.txt");
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(doc.c_str(), tags.c_str()), 4);
    EXPECT_EQ(readFile(tags), "</B>\r\n</P>\r\n<B>\r\n<P>\r\n") << "ascending byte order";
    EXPECT_EQ(dir.listing(), "doc.sgm tags.txt") << "no log, no temporary file";

    ino_t before = inodeOf(tags);
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(doc.c_str(), tags.c_str()), 0);
    EXPECT_EQ(inodeOf(tags), before) << "nothing new: the file is not rewritten";
    EXPECT_EQ(readFile(tags), "</B>\r\n</P>\r\n<B>\r\n<P>\r\n");
}

TEST(SgmlCollectTags, EditedTagFileGainsTheNewTagsOnly) {
    TempDir dir;
    // Whatever else the user's file holds stays until a tag is new.
    auto tags = dir.write("tags.txt", "my external tags:\r\n<P>\r\n<chapter>\r\n");
    auto same = dir.write("same.sgm", "<P>one</P>\r\n");
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(same.c_str(), tags.c_str()), 1);
    EXPECT_EQ(readFile(tags), "</P>\r\n<P>\r\n<chapter>\r\n");

    auto multi = dir.write(
        "multi.sgm", "<P>x <!-- <no> -->\n<ulink\n   url=\"a\"\r\n>y</ulink> <P>\r\n<A B=<C>>");
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(multi.c_str(), tags.c_str()), 3);
    EXPECT_EQ(readFile(tags),
              "</P>\r\n</ulink>\r\n<A B=<C>>\r\n<P>\r\n<chapter>\r\n<ulink    url=\"a\" >\r\n")
        << "a tag over lines is one line, with a blank where each line broke";
}

// The file size limit of the process stands in for a full disk: the new tag
// file cannot be written completely, the collection fails, and the user's tag
// file is byte for byte what it was, with nothing left beside it.
// The child process (fork) and its file-size limit (RLIMIT_FSIZE) are POSIX
// only; the fault tests make the rewrite fail on every system.
#ifndef _WIN32
TEST(SgmlCollectTags, AFailedRewriteLeavesTheTagFileByteIdentical) {
    TempDir dir;
    const std::string original = "my notes\r\n<old>\r\n<tags>\r\n";
    auto tags = dir.write("tags.txt", original);
    std::string many;
    for (int i = 0; i < 2000; ++i) many += "<t" + std::to_string(i) + ">";
    auto doc = dir.write("doc.sgm", many + "\r\n");

    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, RLIM_INFINITY};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
        ::_exit(f_iAddUniqueSGMLTagsToFile(doc.c_str(), tags.c_str()) == -102 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the job reports the failure (-102)";
    EXPECT_EQ(readFile(tags), original);
    EXPECT_EQ(dir.listing(), "doc.sgm tags.txt");

    // Without the limit the same collection goes through.
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(doc.c_str(), tags.c_str()), 2000);
}
#endif  // !_WIN32

TEST(SgmlCollectTags, MessagesForStrayEndsAndAnOpenComment) {
    TempDir dir;
    auto doc = dir.write("odd.sgm", "a > b <x>\r\n<y> text\r\n<!-- never closed\r\n<z>\r\n");
    auto tags = dir.file("tags.txt");
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(doc.c_str(), tags.c_str()), -113);
    EXPECT_EQ(readFile(tags), "<x>\r\n<y>\r\n") << "the tags found are kept";
    EXPECT_EQ(withoutDate(readFile(dir.file("odd.ERR"))),
              crlf(sgmlLogHeader(doc, "Extracting SGML Tags") +
                   "[1] SGML tag with no start detected in the following text:\n" +
                   quotedSegment("a > b <x>") +
                   "\n[2] SGML tag with no end detected in the following text:\n" +
                   quotedSegment("<!-- never closed <z>") + "\n" + sgmlSummary(2, 2, doc)));
}

TEST(SgmlMarkUp, TagsOfTheTagFileAreExternalTheOthersInternal) {
    TempDir dir;
    auto tags = dir.write("tags.txt", "<P>\r\n");
    auto doc = dir.write("doc.sgm", "<P>Hello <B>world</B></P>\r\n");
    EXPECT_EQ(f_iSGML2RTF(doc.c_str(), tags.c_str()), 4);
    EXPECT_EQ(readFile(dir.file("doc.rtf")),
              rtfDocument(E + "<P>}Hello " + I + "<B>}world" + I + "</B>}" + I + "</P>}\n\\par "));
    EXPECT_EQ(dir.listing(), "doc.rtf doc.sgm tags.txt");
    EXPECT_EQ(readFile(tags), "<P>\r\n") << "mark-up never rewrites the tag file";

    // A tag file that does not exist is an empty list: every tag internal.
    auto again = dir.write("again.sgm", "<P>Hello</P>\r\n");
    EXPECT_EQ(f_iSGML2RTF(again.c_str(), dir.file("none.txt").c_str()), 2);
    EXPECT_EQ(readFile(dir.file("again.rtf")), rtfDocument(I + "<P>}Hello" + I + "</P>}\n\\par "));
    EXPECT_FALSE(exists(dir.file("none.txt")));
}

TEST(SgmlMarkUp, LinesJoinTagsOverLinesCommentsAndAStrayEnd) {
    TempDir dir;
    auto tags = dir.write("tags.txt", "<A HREF=x>\r\n<sect>\r\n");
    auto doc = dir.write("join.sgm",
                         "<sect>Some {text} <A   \r\nHREF=x>link</A> more\r\n"
                         "  \ttext <!-- note --> more\r\n\r\n<sect>\r\nnext\r\na > b\r\n");
    EXPECT_EQ(f_iSGML2RTF(doc.c_str(), tags.c_str()), -113);
    std::string stray = "a > b\n\\par ";
    EXPECT_EQ(readFile(dir.file("join.rtf")),
              rtfDocument(E + "<sect>}Some \\{text\\} \n" + E + "<A\\par \nHREF=x>}link" + I +
                          "</A>} more text " + E + "<!-- note -->} more\\par \n\\par \n" + E +
                          "<sect>} next\\par \n" + stray));
    EXPECT_EQ(withoutDate(readFile(dir.file("join.ERR"))),
              crlf(sgmlLogHeader(doc, "Marking up SGML Tags") +
                   "[1] SGML tag with no start detected in the following text:\n" +
                   quotedSegment(stray) + "\n" + sgmlSummary(1, 5, doc)));
}

// A tag or comment that begins a line and ends on a later one: the line
// before it is joined to it by the rules (it wrote nothing of its own), and
// the line breaks inside it stay inside its run.
TEST(SgmlMarkUp, TagsAndCommentsThatBeginALine) {
    TempDir dir;
    auto tags = dir.write("tags.txt", "<ulink url=\"x\">\r\n");
    auto doc = dir.write("begin.sgm",
                         "Some text\r\n<!-- a comment\r\nover two lines -->\r\nmore text\r\n"
                         "<ulink\r\nurl=\"x\">link</ulink> after\r\n<emphasis\r\n>word</emphasis> "
                         "end\r\n");
    EXPECT_EQ(f_iSGML2RTF(doc.c_str(), tags.c_str()), 5);
    std::string rtf = readFile(dir.file("begin.rtf"));
    EXPECT_EQ(rtf, rtfDocument("Some text\\par \n" + E +
                               "<!-- a comment\\par \nover two lines -->} more text\\par \n" + E +
                               "<ulink\\par \nurl=\"x\">}link" + I + "</ulink>} after\\par \n" + I +
                               "<emphasis\\par \n>}word" + I + "</emphasis>} end\n\\par "));
    // Back in a folder of its own: the original is not to be overwritten.
    std::filesystem::create_directory(dir.path() / "back");
    auto back = dir.write("back/begin.rtf", rtf);
    EXPECT_EQ(f_iRTF2SGML(back.c_str(), ".sgm"), 0);
    EXPECT_EQ(readFile(dir.file("back/begin.sgm")),
              "Some text\r\n<!-- a comment\r\nover two lines --> more text\r\n<ulink\r\n"
              "url=\"x\">link</ulink> after\r\n<emphasis\r\n>word</emphasis> end\r\n")
        << "back as it was, but for the joined line";
}

TEST(SgmlMarkUp, EntitiesAreDecodedOrProtected) {
    TempDir dir;
    auto tags = dir.write("tags.txt", "<p>\r\n");
    auto doc = dir.write("ent.sgm", "<p>caf&eacute; &amp; &version; <a t=\"x&y\">AT&T</a>\r\n");
    EXPECT_EQ(f_iSGML2RTF(doc.c_str(), tags.c_str()), -113);
    EXPECT_EQ(readFile(dir.file("ent.rtf")),
              rtfDocument(E + "<p>}caf\xE9 " + I + "&amp;} " + I + "&version;} " + I +
                          "<a t=\"x&y\">}AT&T" + I + "</a>}\n\\par "));
    std::string log = readFile(dir.file("ent.ERR"));
    EXPECT_NE(log.find("[1] HTML/SGML ampersand (&) tag without ending semicolon (;)"),
              std::string::npos)
        << log;
}

TEST(SgmlMarkUp, OpenTagAndOpenCommentAtTheEndAreLoggedAndKept) {
    TempDir dir;
    auto tags = dir.write("tags.txt", "<x>\r\n");
    auto tag = dir.write("tag.sgm", "text <x\r\nnever");
    EXPECT_EQ(f_iSGML2RTF(tag.c_str(), tags.c_str()), -113);
    std::string open = "<x\n\\par never";
    EXPECT_EQ(readFile(dir.file("tag.rtf")), rtfDocument("text " + E + open + "}"))
        << "the last unit is the last line with the piece after it; nothing is lost";
    EXPECT_NE(readFile(dir.file("tag.ERR"))
                  .find(crlf("[1] SGML tag with no end detected in the following text:\n" +
                             quotedSegment(open))),
              std::string::npos);

    auto comment = dir.write("comment.sgm", "<x>\r\n<!-- open\r\n\r\nstill\r\n");
    EXPECT_EQ(f_iSGML2RTF(comment.c_str(), tags.c_str()), -113);
    EXPECT_EQ(readFile(dir.file("comment.rtf")),
              rtfDocument(E + "<x>}\\par \n" + E + "<!-- open\\par \n\\par \nstill\n\\par }"))
        << "the comment's own line breaks are inside its run";
}

TEST(SgmlExtract, EachLineItsTagsOnePerLine) {
    TempDir dir;
    auto doc = dir.write("x.sgm",
                         "x <A HREF=y>link</A> z\r\n\r\ntext only\r\n<B\r\nC=d> <!-- c -->"
                         "<E>\r\n<!-- a\r\ncomment --><F>\r\nlast <G>");
    EXPECT_EQ(funciSGMLTextReadWrite(doc.c_str(), 802, nullptr), 6);
    EXPECT_EQ(readFile(dir.file("x.xsg")),
              "<A HREF=y>\r\n</A>\r\n\r\n\r\n<B\r\nC=d>\r\n<E>\r\n<F>\r\n<G>");
    EXPECT_EQ(dir.listing(), "x.sgm x.xsg");
}

TEST(SgmlJob, RefusalsLeaveEveryFileAsItWas) {
    TempDir dir;
    auto doc = dir.write("d.sgm", "<P>x</P>\r\n");
    auto empty = dir.write("empty.txt", "");
    auto notes = dir.write("notes.txt", "no tags in here\r\n");
    EXPECT_EQ(f_iSGML2RTF(doc.c_str(), nullptr), -1302);
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(doc.c_str(), ""), -1302);
    EXPECT_EQ(funciSGMLTextReadWrite(doc.c_str(), 903, nullptr), -1302);
    EXPECT_EQ(f_iSGML2RTF(doc.c_str(), empty.c_str()), -1301);
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(doc.c_str(), notes.c_str()), -1301)
        << "a file without tags is not taken for a tag file";
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(doc.c_str(), doc.c_str()), -904);
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(doc.c_str(), dir.file("D.err").c_str()), -904);
    EXPECT_EQ(f_iSGML2RTF(doc.c_str(), dir.file("d.RTF").c_str()), -904);
    EXPECT_EQ(funciSGMLTextReadWrite(doc.c_str(), 802, dir.file("d.xsg").c_str()), -904);
    auto rtfInput = dir.write("r.rtf", "<P>\r\n");
    EXPECT_EQ(f_iSGML2RTF(rtfInput.c_str(), notes.c_str()), -904);
    EXPECT_EQ(f_iSGML2RTF(dir.file("missing.sgm").c_str(), notes.c_str()), -101);
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(dir.file("missing.sgm").c_str(), notes.c_str()), -101);
    EXPECT_EQ(f_iSGML2RTF(nullptr, notes.c_str()), -101);
    EXPECT_EQ(f_iSGML2RTF(std::string(300, 'x').c_str(), notes.c_str()), -101);
    EXPECT_EQ(dir.listing(), "d.sgm empty.txt notes.txt r.rtf");
    EXPECT_EQ(readFile(notes), "no tags in here\r\n");
    EXPECT_EQ(readFile(doc), "<P>x</P>\r\n");
}

TEST(SgmlJob, ExistingOutputsAreNeverOverwritten) {
    TempDir dir;
    auto doc = dir.write("d.sgm", "<P>x</P>\r\n");
    auto tags = dir.write("tags.txt", "<P>\r\n");
    dir.write("d.RTF", "old rtf");
    dir.write("d.xsg", "old xsg");
    dir.write("d.out", "old out");
    EXPECT_EQ(f_iSGML2RTF(doc.c_str(), tags.c_str()), -1401);
    EXPECT_EQ(funciSGMLTextReadWrite(doc.c_str(), 802, nullptr), -115);
    EXPECT_EQ(funciSGMLTextReadWrite(doc.c_str(), 903, tags.c_str()), -115);
    EXPECT_EQ(readFile(dir.file("d.RTF")), "old rtf");
    EXPECT_EQ(readFile(dir.file("d.xsg")), "old xsg");
    EXPECT_EQ(readFile(dir.file("d.out")), "old out");
    EXPECT_EQ(dir.listing(), "d.RTF d.out d.sgm d.xsg tags.txt");
}

TEST(SgmlJob, LineJobsThroughTheSgmlJob) {
    TempDir dir;
    auto doc = dir.write("e.sgm", "caf\xE9 & <b>\t\r\n\r\nlast\x93");
    EXPECT_EQ(funciSGMLTextReadWrite(doc.c_str(), 901, nullptr), 4);
    EXPECT_EQ(readFile(dir.file("e.htm")), "caf&eacute; &amp; &lt;b&gt;\r\n\r\nlast&ldquo;")
        << "trailing blanks and tabs of each line are removed first";
    auto tags = dir.write("tags.txt", "<b>\r\n");
    EXPECT_EQ(funciSGMLTextReadWrite(doc.c_str(), 903, tags.c_str()), 4);
    EXPECT_EQ(readFile(dir.file("e.out")), "caf&eacute; &amp; &lt;b&gt;\r\n\r\nlast&quot;");
    auto other = dir.write("f.sgm", "text\r\n");
    EXPECT_EQ(funciSGMLTextReadWrite(other.c_str(), 606, tags.c_str()), -1000);
    EXPECT_EQ(dir.listing(), "e.htm e.out e.sgm f.sgm tags.txt") << "the failed job left nothing";
}

TEST(SgmlJob, HostileInputsEndWithAResultAndLoseNothing) {
    TempDir dir;
    auto tags = dir.file("tags.txt");
    // "<" nested hundreds deep, a tag of two megabytes over many lines and on
    // one line, NUL bytes.
    std::string deep = std::string(500, '<') + "x" + std::string(500, '>');
    std::string longTag = "<big a=\"";
    for (int i = 0; i < 20000; ++i) longTag += std::string(100, 'v') + "\r\n";
    longTag += "\">";
    std::string wide = "<wide " + std::string(2 << 20, 'w') + ">";
    std::string nul("<n\0ul>text\0<n\0ul>\r\n", 19);
    auto doc = dir.write("hostile.sgm", deep + "\r\n" + longTag + "\r\n" + wide + "\r\n" + nul);
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(doc.c_str(), tags.c_str()), 4);
    std::string list = readFile(tags);
    EXPECT_NE(list.find(crlf(deep + "\n")), std::string::npos);
    EXPECT_NE(list.find(std::string("<n\0ul>\r\n", 8)), std::string::npos);
    EXPECT_NE(list.find(crlf(wide + "\n")), std::string::npos);
    // One line of the tag file, with a blank where each line broke.
    std::string joinedLongTag = "<big a=\"" + std::string(100, 'v');
    for (int i = 1; i < 20000; ++i) joinedLongTag += " " + std::string(100, 'v');
    joinedLongTag += " \">";
    EXPECT_NE(list.find(crlf(joinedLongTag + "\n")), std::string::npos);
    EXPECT_EQ(list.size(), deep.size() + joinedLongTag.size() + wide.size() + 6 + 4 * 2);

    // The mark-up finds the tags of the list again, continued lines included.
    EXPECT_EQ(f_iSGML2RTF(doc.c_str(), tags.c_str()), 5);
    std::string rtf = readFile(dir.file("hostile.rtf"));
    EXPECT_EQ(rtf.find(I), std::string::npos) << "every tag is in the tag file";
    EXPECT_NE(rtf.find(std::string("text\0", 5) + E), std::string::npos);
}

}  // namespace
