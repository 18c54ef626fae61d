// Throughput of HTML to RTF on a generated 10 MB page (prose with inline
// tags and entities, tables, comments and now and then a script; CR LF line
// ends), next to a plain copy of the same file.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "support/bench_files.h"
#include "tessel_cat.h"

namespace {

using namespace tessel::bench;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

std::string prose(std::mt19937& random) {
    static const char* const words[] = {"the ",         "customer ",
                                        "caf&eacute; ", "receives ",
                                        "a ",           "<B>bold</B> ",
                                        "<I>note</I> ", "&amp; ",
                                        "invoice ",     "&ldquo;quoted&rdquo; ",
                                        "with ",        "<A HREF=\"x.htm\">a link</A> ",
                                        "na&iuml;ve ",  "prices ",
                                        "&nbsp;",       "<FONT SIZE=2>small</FONT> ",
                                        "for ",         "&#233;t&#233; ",
                                        "and ",         "<IMG SRC=\"a.gif\" ALT=\"a picture\"> "};
    std::string line;
    std::size_t length = 40 + random() % 120;
    while (line.size() < length) line += words[random() % std::size(words)];
    return line;
}

void appendBlock(std::string& text, std::mt19937& random, int block) {
    if (block % 50 == 49) {
        text +=
            "<SCRIPT LANGUAGE=\"JavaScript\">\r\n<!--\r\nfunction go(n) {\r\n"
            "  if (n < 3 && n > 0) window.open(\"p\" + n + \".htm\");\r\n}\r\n// -->\r\n"
            "</SCRIPT>\r\n";
    } else if (block % 10 == 9) {
        text += "<!-- section " + std::to_string(block) + "\r\n     kept for the editors -->\r\n";
    } else if (block % 7 == 6) {
        text += "<TABLE BORDER=1>\r\n";
        for (int row = 0; row < 4; ++row) {
            text += "<TR><TD>" + prose(random) + "</TD><TD ALIGN=right>12&nbsp;%</TD></TR>\r\n";
        }
        text += "</TABLE>\r\n";
    } else {
        text += "<P>";
        for (int line = 1 + random() % 5; line > 0; --line) text += prose(random) + "\r\n";
    }
}

const std::string& sourceFile() {
    static const std::string path = [] {
        std::mt19937 random(5);
        std::string text = "<HTML>\r\n<HEAD><TITLE>Benchmark page</TITLE></HEAD>\r\n<BODY>\r\n";
        text.reserve(kFileSize + 4096);
        for (int block = 0; text.size() < kFileSize; ++block) appendBlock(text, random, block);
        text += "</BODY>\r\n</HTML>\r\n";
        std::string file = scratchPath("page.htm");
        writeBytes(file, text);
        return file;
    }();
    return path;
}

void BM_PlainCopy(benchmark::State& state) {
    const std::string& source = sourceFile();
    std::string target = scratchPath("page-copy.htm");
    for (auto _ : state) plainCopy(source, target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BM_HtmlToRtf(benchmark::State& state) {
    const std::string& source = sourceFile();
    std::string output = scratchPath("page.rtf");
    for (auto _ : state) {
        int result = f_iHTML2RTF(source.c_str(), nullptr);
        if (result < 0) state.SkipWithError("HTML to RTF failed");
        state.PauseTiming();
        removeIfPresent(output);
        removeIfPresent(scratchPath("page.ERR"));
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlToRtf)->Unit(benchmark::kMillisecond);

}  // namespace
