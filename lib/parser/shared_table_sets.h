// Table sets loaded from the library's resources once per process. The
// resources are compiled in and never change, while a converter is built
// for every file of a batch: loading a grammar's tables (and expanding its
// dense tables) would otherwise cost more than parsing a small file.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string_view>

#include "parser/ss_exception.h"

namespace tessel::parser {

// The table set of `image` (a resource's bytes), loaded by the first call
// and kept; found again by the image's address. A table that fails to load
// throws as TableSet::fromImage() does and is not kept.
template <class TableSet>
const TableSet& sharedTableSet(std::span<const std::uint8_t> image, std::string_view name) {
    static std::mutex guard;
    static std::map<const std::uint8_t*, std::unique_ptr<const TableSet>> loaded;
    std::lock_guard<std::mutex> lock(guard);
    auto found = loaded.find(image.data());
    if (found != loaded.end()) return *found->second;
    auto tables = std::make_unique<const TableSet>(TableSet::fromImage(image, name));
    return *withStorage([&] {
                return loaded.emplace(image.data(), std::move(tables));
            }).first->second;
}

}  // namespace tessel::parser
