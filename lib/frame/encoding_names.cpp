#include "frame/encoding_names.h"

#include "platform/code_page_codec.h"
#include "platform/paths.h"
#include "resources/encoding_names.h"

namespace tessel::frame {

namespace {

namespace res = tessel::resources;

// Code page numbers have at most five digits.
constexpr std::size_t kMostDigits = 5;

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// "windows-1251", "cp1251", "x-cp1251", "1251": the number after the first
// prefix that leaves only digits, when it names a page with a table (or
// UTF-8); 0 otherwise.
int numberedCodePage(std::string_view name) {
    for (std::string_view prefix : res::kNumberedEncodingPrefixes) {
        if (name.size() <= prefix.size() ||
            !platform::sameNameIgnoringCase(name.substr(0, prefix.size()), prefix)) {
            continue;
        }
        std::string_view digits = name.substr(prefix.size());
        if (digits.size() > kMostDigits || digits.find_first_not_of("0123456789") != digits.npos) {
            continue;
        }
        int page = 0;
        for (char c : digits) page = page * 10 + (c - '0');
        if (page == res::kUtf8EncodingPage) return page;
        return platform::CodePageCodec::find(page) != nullptr ? page : 0;
    }
    return 0;
}

}  // namespace

int codePageOfEncodingName(std::string_view name) {
    name = trimBlanks(name);
    for (const auto& entry : res::kEncodingNames) {
        if (platform::sameNameIgnoringCase(entry.name, name)) return entry.codePage;
    }
    return numberedCodePage(name);
}

}  // namespace tessel::frame
