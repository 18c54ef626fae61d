// The grammar compiler as the build runs it: errors as "file:line: message"
// with a failing exit status, and the generated source for good grammars.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/portable.h"

namespace {

#ifdef TESSEL_GRAMMAR_COMPILER_PATH

struct Result {
    int status;
    std::string output;
};

Result runCompiler(const std::string& arguments) {
    std::string program = TESSEL_GRAMMAR_COMPILER_PATH;
#ifdef _WIN32
    // The command interpreter takes "/" for the start of a switch.
    for (char& c : program) c = c == '/' ? '\\' : c;
    std::string command = "\"" + program + " " + arguments + " 2>&1\"";
    FILE* pipe = ::_popen(command.c_str(), "r");
#else
    std::string command = program + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
#endif
    if (pipe == nullptr) return {-1, {}};
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
#ifdef _WIN32
    int status = ::_pclose(pipe);
    return {status, output};
#else
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
#endif
}

class GrammarCompilerTool : public ::testing::Test {
  protected:
    std::filesystem::path folder_ =
        std::filesystem::temp_directory_path() /
        ("grammar_compiler_" + std::to_string(tessel::test::processId()));
    void SetUp() override { std::filesystem::create_directories(folder_); }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string write(const std::string& name, const std::string& text) {
        std::filesystem::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
};

const char* kHeader = "grammar t\nlexer-table TLex\nparser-table TYacc\nlist 0\n1 : a\n2 : b\n";

TEST_F(GrammarCompilerTool, ConflictIsAnErrorWithFileAndLine) {
    std::string grammar =
        write("bad.grammar", std::string(kHeader) + "start N1\nP1 N1 -> N1 1 N1\nP2 N1 -> 2\n");
    std::string output = (folder_ / "out.cpp").string();
    Result result = runCompiler("--output " + output + " " + grammar);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output.rfind(grammar + ":8: shift/reduce conflict on token 1", 0), 0u)
        << result.output;
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(GrammarCompilerTool, PatternErrorIsAnErrorWithFileAndLine) {
    std::string grammar =
        write("bad.grammar",
              "grammar t\nlexer-table L\nparser-table Y\nlist 0\n1 : [a-\nstart N1\nP1 N1 -> 1\n");
    Result result = runCompiler("--output " + (folder_ / "out.cpp").string() + " " + grammar);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output.rfind(grammar + ":5: pattern error", 0), 0u) << result.output;
}

TEST_F(GrammarCompilerTool, GoodGrammarsBecomeOneSource) {
    std::string first = write("one.grammar", std::string(kHeader) +
                                                 "token 1 \"a \\\"quoted\\\" name\"\n"
                                                 "start N1\nP1 N1 -> 1 2\n");
    std::string second = write("two.grammar",
                               "grammar two\nlexer-table TwoLex\nparser-table TwoYacc\n"
                               "list 0\n5 : x\nstart N1\nP1 N1 -> 5\n");
    std::string output = (folder_ / "out.cpp").string();
    Result result = runCompiler("--summary --output " + output + " " + first + " " + second);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("t: 1 expression lists"), std::string::npos) << result.output;
    std::ifstream in(output);
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    for (const char* part :
         {"{\"TLEX\", \"LEXTABLE\", kTLexTable}", "{\"TWOYACC\", \"YACCTABLE\", kTwoYaccTable}",
          "{1, \"a \\\"quoted\\\" name\"}", "grammarResources()", "grammarCatalog()"}) {
        EXPECT_NE(source.find(part), std::string::npos) << part;
    }
}

TEST_F(GrammarCompilerTool, UsageAndUnreadableInput) {
    EXPECT_EQ(runCompiler("").status, 2);
    Result missing = runCompiler("--output " + (folder_ / "out.cpp").string() + " " +
                                 (folder_ / "none").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("cannot read the file"), std::string::npos);
}

#endif

}  // namespace
