// A job whose messages cannot be written, because the disk filled up just
// for its log: it fails instead of passing for converted, and a failed job
// leaves nothing of its own behind; a user's tag file changes only after a
// complete log. Found by the fault matrix; kept here by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/fault_seam.h"
#include "platform/message_box.h"
#include "support/temp_dir.h"
#include "tessel_cat.h"

namespace {

using tessel::test::readFile;
using tessel::test::TempDir;

#ifdef TESSEL_FAULT_INJECTION

using tessel::platform::FaultPlan;
using tessel::platform::FileOperation;

// Makes every write to files whose name contains `name` fail from the first
// byte on, while the job runs.
class FullFor {
  public:
    explicit FullFor(const std::string& name, std::uint64_t bytes = 0) {
        FaultPlan plan;
        plan.operation = FileOperation::Write;
        plan.nameContains = name;
        plan.writeLimit = bytes;
        tessel::platform::injectFault(plan);
    }
    ~FullFor() { tessel::platform::clearFaults(); }
    FullFor(const FullFor&) = delete;
    FullFor& operator=(const FullFor&) = delete;
};

struct LoggingJob {
    const char* what;
    const char* input;
    std::string bytes;  // an input that makes the job write messages
    const char* log;
    std::function<int(const std::string&)> run;
    int code;                  // what the job returns when its messages are lost
    std::string tagFile = {};  // written as "tags.txt" beside the input
};

TEST(LostMessages, AJobWhoseLogCannotBeWrittenFailsAndLeavesNoOutput) {
    const std::vector<LoggingJob> jobs = {
        {"HTML mark-up", "page.htm", "<ABBR>x</ABBR>\n", ".ERR",
         [](const std::string& p) { return f_iHTML2RTF(p.c_str(), nullptr); }, -102},
        {"SGML mark-up", "doc.sgm", "<p>open <b\n", ".ERR",
         [](const std::string& p) {
             std::string tags = std::filesystem::path(p).replace_filename("tags.txt").string();
             return f_iSGML2RTF(p.c_str(), tags.c_str());
         },
         -102, "<p>\n"},
        {"RTF back to Macintosh PageMaker", "back.rtf",
         "{\\rtf1 {\\cs5 <PMTags1.0 mac>}\\par \\'80\\par }", ".ERR",
         [](const std::string& p) { return f_iRTF2PageMaker(p.c_str(), ".txt"); }, -102},
        {"ANSI to Macintosh", "doc.txt", "euro \x80\n", ".ERR",
         [](const std::string& p) {
             char path[300] = {};
             p.copy(path, sizeof path - 1);
             return funciTextReadWriteParser(path, 611, 1, ".mac");
         },
         -102},
        {"PageMaker mark-up with a recovered syntax error", "pm.txt",
         "<PMTags1.0 win>\n<> text <B>x\n", ".err",
         [](const std::string& p) { return f_iPageMaker2RTF(p.c_str()); }, -2},
    };
    for (const LoggingJob& job : jobs) {
        TempDir dir;
        std::string input = dir.write(job.input, job.bytes);
        if (!job.tagFile.empty()) dir.write("tags.txt", job.tagFile);
        std::string before = dir.listing();
        int result = 0;
        {
            tessel::platform::MessageBoxCapture quiet;
            FullFor full(job.log);
            result = job.run(input);
        }
        EXPECT_EQ(result, job.code) << job.what;
        EXPECT_EQ(dir.listing(), before) << job.what << ": no output and no empty log";
        EXPECT_EQ(readFile(input), job.bytes) << job.what;
    }
}

TEST(LostMessages, ATagFileChangesOnlyAfterACompleteLog) {
    TempDir dir;
    std::string input = dir.write("doc.sgm", "<chapter><p>open <b\n");
    std::string tags = dir.write("tags.txt", "<chapter>\n");
    int result = 0;
    {
        // The log gets its first 100 bytes, then the disk is full.
        FullFor full(".ERR", 100);
        result = f_iAddUniqueSGMLTagsToFile(input.c_str(), tags.c_str());
    }
    EXPECT_EQ(result, -102);
    EXPECT_EQ(readFile(tags), "<chapter>\n") << "the tag file stays as it was";
    EXPECT_EQ(f_iAddUniqueSGMLTagsToFile(input.c_str(), tags.c_str()), -113)
        << "with room for the log, the collection runs";
    EXPECT_EQ(readFile(tags), "<chapter>\r\n<p>\r\n");
}

#endif

// The Ventura converters refuse a name that does not fit the library's name
// buffers, as an input they cannot open, before anything is written.
TEST(LongNames, VenturaConvertersRefuseNamesBeyondThePathLimit) {
    TempDir dir;
    std::filesystem::path folder = dir.path() / std::string(200, 'v') / std::string(60, 'w');
    std::filesystem::create_directories(folder);
    std::string input = (folder / "doc.txt").string();
    ASSERT_GT(input.size(), 260u);
    tessel::test::writeFile(input, "@BODY = text\n");
    tessel::platform::MessageBoxCapture quiet;
    EXPECT_EQ(f_iVentura4toRTF(input.c_str()), -1);
    EXPECT_EQ(f_iVentura567toRTF(input.c_str()), -1);
    EXPECT_EQ(quiet.texts().size(), 2u) << "each says why in a message box";
    EXPECT_EQ(tessel::test::entriesOf(folder).size(), 1u) << "nothing beside the input";
}

}  // namespace
