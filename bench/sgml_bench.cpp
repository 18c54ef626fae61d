// How SGML tag collection grows with the number of distinct tags: the whole
// job (next to the reference pass over the same file), the indexed sorted
// list, and the plain list's walk it replaces. The SGML jobs on a 10 MB
// chapter are in jobs_bench and the job table.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "markup/sorted_string_list.h"
#include "markup/string_list.h"
#include "support/bench_files.h"
#include "support/yardstick.h"
#include "tessel_cat.h"

namespace {

using namespace tessel::bench;

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
    measureIterations(
        state, source,
        [&] {
            return f_iAddUniqueSGMLTagsToFile(source.c_str(), tags.c_str()) ==
                   static_cast<int>(count);
        },
        [&] { removeIfPresent(tags); });
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

BENCHMARK(BM_CollectDistinctTags801)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexedSortedListInsert)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkingSortedListInsert)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
