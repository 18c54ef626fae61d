// The charset step on whole HTML files, byte for byte: values replaced,
// META lines inserted, files left alone, bad input, the job's message
// numbering, and a failed rewrite that leaves the file as it was.
#include "markup/charset_step.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "frame/job_state.h"
#include "frame/return_codes.h"
#include "frame/rtf_to_text_job.h"
#include "platform/files.h"
#include "support/portable.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace tessel::markup {
namespace {

using test::readFile;
using test::TempDir;

const std::string kSeparator(58, '-');

std::string meta(const std::string& name) {
    return "\r\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=" + name + "\">";
}

struct StepRun {
    int result;
    std::string html;
    std::string log;  // LF line ends
    int nextMessage;
    bool messagesWritten;
};

class CharsetStep : public ::testing::Test {
  protected:
    StepRun run(const std::string& html, unsigned codePage, const std::string& charset = "",
                int nextMessage = 1) {
        path_ = dir_.write("page.htm", html);
        return runOn(path_, codePage, charset, nextMessage);
    }
    StepRun runOn(const std::string& path, unsigned codePage, const std::string& charset,
                  int nextMessage = 1) {
        frame::JobState& job = frame::jobState();
        job.reset();
        job.nextMessage = nextMessage;
        frame::ErrorLog log;
        EXPECT_TRUE(log.open(dir_.file("page.ERR")));
        int result = runCharsetStep(path, codePage, charset, log);
        log.close();
        std::string logged = readFile(dir_.file("page.ERR"));
        std::string lf;
        for (std::size_t i = 0; i < logged.size(); ++i) {
            if (!(logged[i] == '\r' && i + 1 < logged.size() && logged[i + 1] == '\n')) {
                lf += logged[i];
            }
        }
        std::string html = test::exists(path) ? readFile(path) : "<missing>";
        return {result, html, lf, job.nextMessage, job.messagesWritten};
    }
    // The folder holds nothing but the page and its log.
    void expectNoTemporaryFiles() const { EXPECT_EQ(dir_.listing(), "page.ERR page.htm"); }

    TempDir dir_;
    std::string path_;
};

// The lexer's lead bytes follow TESSEL_ACP while it lives.
class ActiveCodePage {
  public:
    explicit ActiveCodePage(const char* codePage) {
        if (const char* old = std::getenv("TESSEL_ACP")) old_ = old;
        test::setEnvironment("TESSEL_ACP", codePage);
    }
    ~ActiveCodePage() {
        if (old_.empty()) {
            test::unsetEnvironment("TESSEL_ACP");
        } else {
            test::setEnvironment("TESSEL_ACP", old_.c_str());
        }
    }

  private:
    std::string old_;
};

TEST_F(CharsetStep, MetaLineGoesRightAfterTheHeadStartTag) {
    const std::string page =
        "<HTML>\r\n<HEAD lang=\"en\">\r\n<TITLE>Title</TITLE>\r\n</HEAD>\r\n"
        "<BODY>\xC0\xE1\xE2</BODY>\r\n</HTML>\r\n";
    StepRun step = run(page, 1251);
    EXPECT_EQ(step.result, 0);
    EXPECT_EQ(step.html, "<HTML>\r\n<HEAD lang=\"en\">" + meta("Windows-1251") +
                             "\r\n<TITLE>Title</TITLE>\r\n</HEAD>\r\n"
                             "<BODY>\xC0\xE1\xE2</BODY>\r\n</HTML>\r\n");
    EXPECT_EQ(step.log, "");
    EXPECT_FALSE(step.messagesWritten);
    expectNoTemporaryFiles();
    // The first of several HEAD start tags takes the line.
    StepRun twice = run("<html><head></head><head></head></html>", 1253);
    EXPECT_EQ(twice.html, "<html><head>" + meta("Windows-1253") + "</head><head></head></html>");
}

TEST_F(CharsetStep, DifferingValuesAreReplacedAndOnlyThey) {
    const std::string page =
        "<html><head>\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
        "<META CHARSET=\"UTF-8\">\r\n"
        "<Meta content=text/html;Charset = iso-8859-1>\r\n"
        "<meta charset=WINDOWS-1251>\r\n"
        "</head><body>charset=koi8-r <p title=\"charset=x\">text</p></body></html>\r\n";
    StepRun step = run(page, 1251);
    EXPECT_EQ(step.result, 0) << step.log;
    EXPECT_EQ(step.html,
              "<html><head>\r\n"
              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Windows-1251\">\r\n"
              "<META CHARSET=\"Windows-1251\">\r\n"
              "<Meta content=text/html;Charset = Windows-1251>\r\n"
              "<meta charset=WINDOWS-1251>\r\n"
              "</head><body>charset=koi8-r <p title=\"charset=x\">text</p></body></html>\r\n");
    expectNoTemporaryFiles();
}

TEST_F(CharsetStep, FileThatDeclaresTheCharsetAlreadyIsNotRewritten) {
    const std::string page = "<html><head><meta charset=Shift_JIS></head></html>\n";
    path_ = dir_.write("page.htm", page);
    auto before = platform::fileIdentity(path_);
    ASSERT_TRUE(before);
    StepRun step = runOn(path_, 932, "");
    EXPECT_EQ(step.result, 0);
    EXPECT_EQ(step.html, page) << "a lone line feed stays: nothing was rewritten";
    auto after = platform::fileIdentity(path_);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->inode, before->inode);
}

TEST_F(CharsetStep, WithoutHeadOrHtmlTheLineGoesFirst) {
    EXPECT_EQ(run("<html><body>x</body></html>\r\n", 1250).html,
              meta("Windows-1250") + "<html><body>x</body></html>\r\n");
    // Outside <html> ... </html> nothing is looked at, not even a META tag.
    EXPECT_EQ(run("<head><meta charset=utf-8></head>", 1250).html,
              meta("Windows-1250") + "<head><meta charset=utf-8></head>");
    StepRun empty = run("", 1253);
    EXPECT_EQ(empty.result, 0);
    EXPECT_EQ(empty.html, meta("Windows-1253"));
    expectNoTemporaryFiles();
}

TEST_F(CharsetStep, GivenCharsetNameWinsOverTheTable) {
    StepRun custom = run("<html><head></head></html>", 949, "euc-kr");
    EXPECT_EQ(custom.html, "<html><head>" + meta("euc-kr") + "</head></html>");
    const std::string longName(300, 'x');
    StepRun long300 = run("<html><meta charset=utf-8></html>", 1252, longName);
    EXPECT_EQ(long300.result, 0);
    EXPECT_EQ(long300.html, "<html><meta charset=" + longName + "></html>");
}

TEST_F(CharsetStep, CodePageWithoutNameOrUnusableNameLeavesTheFile) {
    const std::string page = "<html><head></head></html>";
    for (unsigned codePage : {0u, 437u, 65002u}) {
        StepRun step = run(page, codePage);
        EXPECT_EQ(step.result, kInvalidCodePageValue);
        EXPECT_EQ(step.log, "BUG! Invalid code page value: " + std::to_string(codePage) + "\n");
        EXPECT_EQ(step.html, page);
        EXPECT_TRUE(step.messagesWritten);
    }
    // A name that would end the value or the tag would break the page.
    StepRun quote = run(page, 1251, "x\" onload=\"y");
    EXPECT_EQ(quote.result, kInvalidCodePageValue);
    EXPECT_EQ(quote.log,
              "Invalid character set name: \"x\" onload=\"y\"\n"
              "A name may hold letters, digits and - _ . : + only.\n");
    EXPECT_EQ(quote.html, page);
    expectNoTemporaryFiles();
}

TEST_F(CharsetStep, LineBreakInAQuotedStringIsWarnedOfInTheJobsNumbering) {
    const std::string page =
        "<html><head></head>\r\n<a href=\"one\r\ntwo\">x</a>\r\n<b title=\"ok\">y</b></html>";
    StepRun step = run(page, 1251, "", 4);
    EXPECT_EQ(step.result, frame::kErrorsInLog);
    EXPECT_EQ(step.log,
              "\n[4]  Warning! Line break found in string! If a quote is missing, fix it and run "
              "the tool again.\n" +
                  kSeparator + "\n...\"one\ntwo\"...\n" + kSeparator + "\n-  \n");
    EXPECT_EQ(step.nextMessage, 5);
    EXPECT_TRUE(step.messagesWritten);
    EXPECT_EQ(step.html, "<html><head>" + meta("Windows-1251") +
                             "</head>\r\n<a href=\"one\r\ntwo\">x</a>\r\n<b title=\"ok\">y</b>"
                             "</html>");
}

TEST_F(CharsetStep, BrokenPagesAreReportedAndStillDeclared) {
    // Unterminated comment: the parse reaches the end inside it.
    StepRun comment = run("<html><head></head><!-- never closed\r\n<p>", 1251);
    EXPECT_EQ(comment.result, frame::kErrorsInLog);
    EXPECT_NE(comment.log.find("Unexpected text: \"eof\". Expected </HTML>, or <"),
              std::string::npos)
        << comment.log;
    EXPECT_EQ(comment.html,
              "<html><head>" + meta("Windows-1251") + "</head><!-- never closed\r\n<p>");
    // Unterminated quote: the string runs to the end of the file, where the
    // parse stops; the HEAD start tag was seen before.
    StepRun quote = run("<html><head></head><a href=\"x>text\r\n</html>\r\n", 1251);
    EXPECT_EQ(quote.result, frame::kErrorsInLog);
    EXPECT_EQ(
        quote.log,
        "\n[1]  Unexpected text: \"eof\". Expected end quote\nFailed to recover!\n\n-  \n"
        "\n[2]  Parse Error: SSYacc0103e: Attempted read past eof\nParsing not completed!\n\n");
    EXPECT_EQ(quote.html,
              "<html><head>" + meta("Windows-1251") + "</head><a href=\"x>text\r\n</html>\r\n");
    // A charset value that ends the file.
    StepRun atEnd = run("<html><meta charset=utf-8", 1251);
    EXPECT_EQ(atEnd.result, frame::kErrorsInLog);
    EXPECT_EQ(atEnd.html, "<html><meta charset=Windows-1251");
    EXPECT_GT(atEnd.nextMessage, 1);
    expectNoTemporaryFiles();
}

TEST_F(CharsetStep, LoneCarriageReturnsStayAndDoNotShiftPositions) {
    // Table cells reach the HTML as lone carriage returns; the parser counts
    // them as bytes of their line, and so must the rewrite.
    const std::string page = "<html>\r\ncell\rcell\r<meta charset=iso-8859-1>\rx\r\n</html>\r\n";
    StepRun step = run(page, 1253);
    EXPECT_EQ(step.result, 0) << step.log;
    EXPECT_EQ(step.html, "<html>\r\ncell\rcell\r<meta charset=Windows-1253>\rx\r\n</html>\r\n");
}

TEST_F(CharsetStep, TextOfTheCodePageKeepsItsBytes) {
    struct Case {
        unsigned codePage;
        const char* text;
        const char* charset;
    };
    // Greek, Cyrillic and Polish words as their code pages write them.
    const Case cases[] = {{1253, "\xC1\xE8\xDE\xED\xE1", "Windows-1253"},
                          {1251, "\xCC\xEE\xF1\xEA\xE2\xE0", "Windows-1251"},
                          {1250,
                           "\xA3\xF3"
                           "d\x9F",
                           "Windows-1250"}};
    for (const Case& c : cases) {
        std::string page = std::string("<html><head><title>") + c.text +
                           "</title><meta charset=iso-8859-1></head><body>" + c.text +
                           "</body></html>\r\n";
        StepRun step = run(page, c.codePage);
        EXPECT_EQ(step.result, 0);
        std::string expected = page;
        expected.replace(expected.find("iso-8859-1"), 10, c.charset);
        EXPECT_EQ(step.html, expected);
    }
}

TEST_F(CharsetStep, DoubleByteTextBeforeTheValueKeepsItsColumns) {
    // Shift-JIS as the lexer reads it on a Japanese system: each character
    // two bytes, some with a trail byte that looks like a backslash or a
    // letter.
    ActiveCodePage japanese("932");
    const std::string text = "\x93\xFA\x96\x7B\x8C\xEA \x95\x5C\x83\x41";
    const std::string page = "<html><head><title>" + text + "</title><meta charset=x-sjis>" + text +
                             "<META CHARSET=Shift_JIS></head></html>";
    StepRun step = run(page, 932);
    EXPECT_EQ(step.result, 0) << step.log;
    EXPECT_EQ(step.html, "<html><head><title>" + text + "</title><meta charset=shift_jis>" + text +
                             "<META CHARSET=Shift_JIS></head></html>");
}

TEST_F(CharsetStep, MissingFileIsAParserError) {
    StepRun step = runOn(dir_.file("none.htm"), 1251, "");
    EXPECT_EQ(step.result, kCharsetParserFailed);
    EXPECT_EQ(step.log.rfind("Error when creating HTML parser: \nSSLex0101e: ", 0), 0u) << step.log;
    EXPECT_TRUE(step.messagesWritten);
    EXPECT_EQ(dir_.listing(), "page.ERR");
}

// The file-size limit of a process (RLIMIT_FSIZE) is POSIX only; Windows has
// no such limit, so the failed rewrite is tested on POSIX systems (the fault
// tests make writes fail on every system).
#ifndef _WIN32

// Writes of the rewritten copy fail beyond `limit` bytes while it lives.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST_F(CharsetStep, FailedRewriteLeavesTheFileAsItWas) {
    std::string page = "<html><head></head><body>";
    page += std::string(40000, 'a');
    page += "</body></html>\r\n";
    path_ = dir_.write("page.htm", page);
    // The step runs in another folder: nothing may appear there either.
    TempDir elsewhere;
    auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path());
    StepRun step{};
    {
        FileSizeLimit limit(16384);
        step = runOn(path_, 1251, "");
    }
    std::filesystem::current_path(cwd);
    EXPECT_EQ(step.result, kCharsetNotApplied);
    EXPECT_EQ(step.html, page);
    EXPECT_TRUE(step.messagesWritten);
    EXPECT_EQ(elsewhere.listing(), "");
    expectNoTemporaryFiles();
}

#endif  // !_WIN32

// The RTF-back job hands its finished output to the charset step, as the
// multilingual exports compose them: mark up a page, put Greek words into the
// RTF as Unicode escapes (as word processors write them), convert back, and
// the page holds code page 1253's bytes and declares that code page.
TEST_F(CharsetStep, RunsAsTheOutputStepOfTheRtfBackJob) {
    std::string html = dir_.write("greek.htm",
                                  "<html>\r\n<head><title>Hello</title></head>\r\n"
                                  "<body><p>Good morning</p></body>\r\n</html>\r\n");
    ASSERT_GE(f_iHTML2RTF(html.c_str(), nullptr), 0);
    std::string rtfPath = dir_.file("greek.rtf");
    std::string rtf = readFile(rtfPath);
    for (auto [english, greek] :
         {std::pair<std::string, std::string>{"Hello", "\\u947?\\u949?\\u953?\\u945?"},
          {"Good morning", "\\u922?\\u945?\\u955?\\u951?\\u956?\\u941?\\u961?\\u945?"}}) {
        std::size_t at = rtf.find(english);
        ASSERT_NE(at, std::string::npos) << english;
        rtf.replace(at, english.size(), greek);
    }
    test::writeFile(rtfPath, rtf);
    frame::RtfBackSteps steps;
    steps.codePage = 1253;
    steps.outputStep = [](const std::string& output, frame::ErrorLog& log) {
        return runCharsetStep(output, 1253, "", log);
    };
    std::remove(html.c_str());
    EXPECT_EQ(
        frame::readRtfWriteText(rtfPath.c_str(), frame::kRtfToHtmlMultiLingual, ".htm", steps), 0);
    EXPECT_EQ(readFile(html), "<html>\r\n<head>" + meta("Windows-1253") +
                                  "<title>\xE3\xE5\xE9\xE1</title></head>\r\n"
                                  "<body><p>\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1</p></body>\r\n"
                                  "</html>\r\n");
    EXPECT_FALSE(test::exists(dir_.file("greek.ERR")));

    // A step that fails keeps the job's log, which holds its line.
    std::remove(html.c_str());
    steps.outputStep = [](const std::string& output, frame::ErrorLog& log) {
        return runCharsetStep(output, 437, "", log);
    };
    EXPECT_EQ(
        frame::readRtfWriteText(rtfPath.c_str(), frame::kRtfToHtmlMultiLingual, ".htm", steps),
        frame::kErrorsInLog);
    EXPECT_NE(readFile(dir_.file("greek.ERR")).find("BUG! Invalid code page value: 437\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace tessel::markup
