#include "markup/sgml_tag_file.h"

#include "frame/return_codes.h"
#include "markup/sorted_string_list.h"
#include "platform/files.h"
#include "platform/streams.h"

namespace tessel::markup {

namespace {

bool writeTags(const std::string& path, const SortedStringList& tags) {
    platform::OutputStream output;
    if (!output.open(path, platform::StreamMode::Text)) return false;
    for (const StringNode* node = tags.first(); node != nullptr; node = node->next.get()) {
        output.write(node->text);
        output.write("\n");
    }
    return output.close();
}

}  // namespace

int rewriteSgmlTagFile(const std::string& path, const SortedStringList& tags) {
    std::string replacement = platform::createUniqueFileBeside(path);
    if (replacement.empty()) return frame::kCannotOpenOutput;
    if (!writeTags(replacement, tags) || !platform::replaceFile(replacement, path)) {
        platform::removeFile(replacement);
        return frame::kCannotOpenOutput;
    }
    return 0;
}

}  // namespace tessel::markup
