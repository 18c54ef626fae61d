// Throughput of the SGML job on a generated 10 MB DocBook-like file (CR LF
// line ends): mark-up with an edited tag file (803) and tag collection into a
// new tag file (801), next to a plain copy and the reference byte pass of the
// same file in the same run. And how tag collection grows with the number of
// distinct tags: the whole job, the indexed sorted list, and the plain list's
// walk it replaces.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "markup/sorted_string_list.h"
#include "markup/string_list.h"
#include "support/bench_files.h"
#include "tessel_cat.h"

namespace {

using namespace tessel::bench;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

std::string sentence(std::mt19937& random) {
    static const char* const words[] = {"the ",
                                        "server ",
                                        "configure ",
                                        "<emphasis>must</emphasis> ",
                                        "&amp; ",
                                        "install ",
                                        "caf&eacute; ",
                                        "<filename>/usr/local</filename> ",
                                        "with ",
                                        "options ",
                                        "and ",
                                        "<command>make install</command> ",
                                        "&version; ",
                                        "libraries ",
                                        "a ",
                                        "<xref linkend=\"install-post\"> ",
                                        "environment ",
                                        "of ",
                                        "\x93quoted\x94 ",
                                        "<ulink url=\"http://www.example.org/\">the site</ulink> "};
    std::string line;
    std::size_t length = 40 + random() % 100;
    while (line.size() < length) line += words[random() % std::size(words)];
    return line;
}

void appendSection(std::string& text, std::mt19937& random, int section) {
    text += "<sect1 id=\"s" + std::to_string(section) + "\">\r\n<title>Section " +
            std::to_string(section) + "</title>\r\n";
    if (section % 5 == 4) text += "<!-- kept for the editors,\r\n     over two lines -->\r\n";
    for (int para = 1 + random() % 4; para > 0; --para) {
        text += "<para>\r\n";
        for (int line = 1 + random() % 5; line > 0; --line) text += sentence(random) + "\r\n";
        text += "</para>\r\n";
    }
    if (section % 7 == 6) {
        text +=
            "<programlisting>\r\ngmake &gt; log\r\n</programlisting>\r\n<itemizedlist\r\n"
            "  mark=\"bullet\">\r\n<listitem><para>one</para></listitem>\r\n</itemizedlist>\r\n";
    }
    text += "</sect1>\r\n";
}

const std::string& sourceFile() {
    static const std::string path = [] {
        std::mt19937 random(12);
        std::string text =
            "<!doctype chapter PUBLIC \"-//OASIS//DTD DocBook V3.1//EN\">\r\n"
            "<chapter id=\"installation\">\r\n<title>Installation</title>\r\n";
        text.reserve(kFileSize + 4096);
        for (int section = 0; text.size() < kFileSize; ++section) {
            appendSection(text, random, section);
        }
        text += "</chapter>\r\n";
        std::string file = scratchPath("chapter.sgml");
        writeBytes(file, text);
        return file;
    }();
    return path;
}

// The structure tags of the file: what a user keeps in the tag file.
const std::string& editedTagFile() {
    static const std::string path = [] {
        std::string tags;
        for (const char* tag :
             {"<chapter id=\"installation\">", "</chapter>", "<title>", "</title>", "<para>",
              "</para>", "</sect1>", "<programlisting>", "</programlisting>",
              "<itemizedlist mark=\"bullet\">", "</itemizedlist>", "<listitem>", "</listitem>"}) {
            tags += std::string(tag) + "\r\n";
        }
        std::string file = scratchPath("edited-tags.txt");
        writeBytes(file, tags);
        return file;
    }();
    return path;
}

void BM_PlainCopy(benchmark::State& state) {
    const std::string& source = sourceFile();
    std::string target = scratchPath("chapter-copy.sgml");
    for (auto _ : state) plainCopy(source, target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

#ifdef TESSEL_BYTELOOP_PATH
void BM_ByteLoop(benchmark::State& state) {
    std::string command = std::string(TESSEL_BYTELOOP_PATH) + " '" + sourceFile() + "' '" +
                          scratchPath("chapter-byteloop.sgml") + "' >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("byteloop failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}
#endif

void BM_SgmlToRtf803(benchmark::State& state) {
    const std::string& source = sourceFile();
    const std::string& tags = editedTagFile();
    for (auto _ : state) {
        int result = f_iSGML2RTF(source.c_str(), tags.c_str());
        if (result < 0) state.SkipWithError("SGML to RTF failed");
        state.PauseTiming();
        removeIfPresent(scratchPath("chapter.rtf"));
        removeIfPresent(scratchPath("chapter.ERR"));
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

void BM_CollectTags801(benchmark::State& state) {
    const std::string& source = sourceFile();
    std::string tags = scratchPath("collected-tags.txt");
    for (auto _ : state) {
        int result = f_iAddUniqueSGMLTagsToFile(source.c_str(), tags.c_str());
        if (result <= 0) state.SkipWithError("tag collection failed");
        state.PauseTiming();
        removeIfPresent(tags);
        removeIfPresent(scratchPath("chapter.ERR"));
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}

// `count` distinct tags in random order.
std::vector<std::string> distinctTags(std::size_t count) {
    std::vector<std::string> tags;
    tags.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        tags.push_back("<section id=\"s" + std::to_string(i * 7919 % 1000003) + "\">");
    }
    std::shuffle(tags.begin(), tags.end(), std::mt19937(3));
    return tags;
}

const std::string& distinctTagsFile(std::size_t count) {
    static std::vector<std::pair<std::size_t, std::string>> files;
    for (const auto& file : files) {
        if (file.first == count) return file.second;
    }
    std::string text;
    for (const std::string& tag : distinctTags(count)) text += tag + "text\r\n";
    std::string path = scratchPath("distinct-" + std::to_string(count) + ".sgml");
    writeBytes(path, text);
    files.emplace_back(count, path);
    return files.back().second;
}

void BM_CollectDistinctTags801(benchmark::State& state) {
    auto count = static_cast<std::size_t>(state.range(0));
    const std::string& source = distinctTagsFile(count);
    std::string tags = scratchPath("distinct-tags.txt");
    for (auto _ : state) {
        int result = f_iAddUniqueSGMLTagsToFile(source.c_str(), tags.c_str());
        if (result != static_cast<int>(count)) state.SkipWithError("tag collection failed");
        state.PauseTiming();
        removeIfPresent(tags);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}

void BM_IndexedSortedListInsert(benchmark::State& state) {
    std::vector<std::string> tags = distinctTags(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        tessel::markup::SortedStringList list;
        for (const std::string& tag : tags) list.insert(tag);
        benchmark::DoNotOptimize(list.size());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tags.size()));
}

// The walk from the head that the index replaces: quadratic in the tags.
void BM_WalkingSortedListInsert(benchmark::State& state) {
    std::vector<std::string> tags = distinctTags(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        tessel::markup::StringList list;
        for (const std::string& tag : tags) list.insertSorted(tag);
        benchmark::DoNotOptimize(list.first());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tags.size()));
}

// The file jobs by real time: the reference pass runs as a process of its own.
BENCHMARK(BM_PlainCopy)->UseRealTime()->Unit(benchmark::kMillisecond);
#ifdef TESSEL_BYTELOOP_PATH
BENCHMARK(BM_ByteLoop)->UseRealTime()->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_SgmlToRtf803)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectTags801)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectDistinctTags801)
    ->Arg(10000)
    ->Arg(100000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexedSortedListInsert)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkingSortedListInsert)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
