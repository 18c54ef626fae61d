// Throughput of the translation check on a generated pair: an original in
// our mark-up's form and its "translation" as a word processor saves it
// (styles renumbered, every run a group of its own, 8-bit text as "\u"
// escapes, other words). Measured next to the reference pass over the two
// files: every byte read in 64 KB blocks, mapped through a table and
// written, as ../shared/bench/byteloop.cpp does.
// TESSEL_VERIFY_BENCH_MB sets the original's size (default 10); with
// TESSEL_VERIFY_BENCH_KEEP set the pair is left in the scratch folder (for
// measuring the tool's memory on it).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "resources/rtf_texts.h"
#include "support/bench_files.h"
#include "verify/translation_check.h"

namespace {

using namespace tessel::bench;

std::size_t originalSize() {
    const char* megabytes = std::getenv("TESSEL_VERIFY_BENCH_MB");
    long value = megabytes != nullptr ? std::atol(megabytes) : 10;
    return static_cast<std::size_t>(value > 0 ? value : 10) << 20;
}

struct Pair {
    std::string original;
    std::string translated;
    std::size_t bytes = 0;
};

constexpr const char* kTranslatedHeader =
    "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f6\\froman\\fprq2\\fcharset0 "
    "Courier New;}}\n"
    "{\\stylesheet{\\s0\\snext0\\sb80\\f5\\fs20 Normal;}\n"
    "{\\*\\cs19\\snext19\\hich\\af6\\loch\\cf15\\f6\\lang1033 qz4lexExternal;}\n"
    "{\\*\\cs20\\snext20\\hich\\af6\\loch\\cf6\\f6\\lang1033 qz4lexInternal;}\n"
    "{\\*\\cs22\\snext22\\hich\\af6\\loch\\cf13\\f6\\lang1033 DO_NOT_TRANSLATE;}\n"
    "{\\*\\cs23\\snext23 Default Paragraph Font;}\n}\n\\pard\\plain \\s0\\sb80\\f5\\fs20\n";

// One paragraph in both forms: tags with words between them.
void writeParagraph(std::mt19937& random, std::string& original, std::string& translated) {
    static const char* const kOriginalWords[] = {"the ",        "coffee ", "caf\xE9 ",  "menu ",
                                                 "d\xE9j\xE0 ", "today ",  "sentence. "};
    static const char* const kTranslatedWords[] = {"der ",
                                                   "Kaffee ",
                                                   "\\u233\\'e9t\\u233\\'e9 ",
                                                   "Speisekarte ",
                                                   "\\u322\\'3f\\u243\\'f3d\\u378\\'3f ",
                                                   "heute ",
                                                   "Satz. "};
    static const char* const kInternal[] = {"<b>", "</b>", "<a href=\"page.htm\">", "</a>"};
    auto text = [&](std::size_t words) {
        original += "";
        translated += "{\\loch\n";
        for (std::size_t i = 0; i < words; ++i) {
            std::size_t pick = random() % std::size(kOriginalWords);
            original += kOriginalWords[pick];
            translated += kTranslatedWords[pick];
        }
        translated += "}";
    };
    auto tag = [&](bool external, const char* value) {
        original +=
            external ? tessel::resources::kExternalTagOpen : tessel::resources::kInternalTagOpen;
        original += value;
        original += "}";
        translated += external ? "{\\loch\\cs19\\hich\\af6\\loch\\cf15\\f6\\lang1033\\loch\n"
                               : "{\\loch\\cs20\\hich\\af6\\loch\\cf6\\f6\\lang1033\\loch\n";
        translated += value;
        translated += "}";
    };
    tag(true, "<p>");
    std::size_t pieces = 2 + random() % 6;
    for (std::size_t i = 0; i < pieces; ++i) {
        text(3 + random() % 12);
        tag(false, kInternal[(i * 2 + random() % 2) % std::size(kInternal)]);
    }
    text(2 + random() % 6);
    tag(true, "</p>");
    original += "\\par \n";
    translated += "\n\\par \\pard\\plain \\s0\\sb80\\f5\\fs20";
}

void removePair(const Pair& pair) {
    std::error_code ignored;
    std::filesystem::remove(pair.original, ignored);
    std::filesystem::remove(pair.translated, ignored);
}

const Pair& pair() {
    static const Pair files = [] {
        Pair made{scratchPath("verify-original.rtf"), scratchPath("verify-translated.rtf")};
        std::ofstream original(made.original, std::ios::binary);
        std::ofstream translated(made.translated, std::ios::binary);
        original << tessel::resources::kRtfHeader;
        translated << kTranslatedHeader;
        std::mt19937 random(17);
        std::size_t written = tessel::resources::kRtfHeader.size();
        std::size_t translatedWritten = 0;
        std::string a;
        std::string b;
        for (std::size_t target = originalSize(); written < target;) {
            a.clear();
            b.clear();
            for (int i = 0; i < 64; ++i) writeParagraph(random, a, b);
            original << a;
            translated << b;
            written += a.size();
            translatedWritten += b.size();
        }
        original << "}";
        translated << "}";
        made.bytes =
            written + 1 + std::string_view(kTranslatedHeader).size() + translatedWritten + 1;
        return made;
    }();
    static const struct Cleanup {
        ~Cleanup() {
            if (std::getenv("TESSEL_VERIFY_BENCH_KEEP") == nullptr) removePair(files);
        }
    } cleanup;
    return files;
}

// The reference pass of ../shared/bench/byteloop.cpp over one file.
unsigned long long byteLoop(const std::string& from, const std::string& to) {
    unsigned char table[256];
    for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
    table[0x93] = table[0x94] = '"';
    table[0x91] = table[0x92] = '\'';
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = std::fopen(to.c_str(), "wb");
    static unsigned char buf[65536];
    static unsigned char obuf[65536];
    unsigned long long sum = 0;
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            obuf[i] = table[buf[i]];
            sum += obuf[i];
        }
        std::fwrite(obuf, 1, n, out);
    }
    std::fclose(in);
    std::fclose(out);
    return sum;
}

void BM_ReferencePass(benchmark::State& state) {
    const Pair& files = pair();
    std::string out = scratchPath("verify-byteloop.out");
    for (auto _ : state) {
        benchmark::DoNotOptimize(byteLoop(files.original, out));
        benchmark::DoNotOptimize(byteLoop(files.translated, out));
    }
    std::remove(out.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.bytes));
}

class CountingSink final : public tessel::verify::FindingSink {
  public:
    void finding(tessel::verify::Finding&&) override { ++count; }
    std::size_t count = 0;
};

void BM_Verify(benchmark::State& state) {
    const Pair& files = pair();
    std::size_t paragraphs = 0;
    for (auto _ : state) {
        CountingSink sink;
        auto outcome =
            tessel::verify::verifyTranslation(files.original, files.translated, {}, sink);
        paragraphs = outcome.translatedParagraphs;
        // The translation holds characters Windows 1252 has not: one
        // unheld-character finding per paragraph with the Polish word, nothing else.
        if (outcome.target != "html") state.SkipWithError("the format was not found");
        benchmark::DoNotOptimize(sink.count);
    }
    state.counters["paragraphs"] = static_cast<double>(paragraphs);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.bytes));
}

BENCHMARK(BM_ReferencePass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Verify)->Unit(benchmark::kMillisecond);

}  // namespace
