#include "markup/sgml_tag_file.h"

#include "frame/return_codes.h"
#include "markup/sorted_string_list.h"
#include "platform/streams.h"

namespace tessel::markup {

namespace {

bool writeTags(const std::string& path, const SortedStringList& tags) {
    platform::OutputStream output;
    if (!output.open(path, platform::StreamMode::Text)) return false;
    // A rewrite that fails leaves the old list as it was, not a part of the
    // new one.
    output.dropOnWriteFailure();
    for (const StringNode* node = tags.first(); node != nullptr; node = node->next.get()) {
        output.write(node->text);
        output.write("\n");
    }
    return output.close();
}

}  // namespace

int rewriteSgmlTagFile(const std::string& path, const SortedStringList& tags) {
    // The stream writes a new file beside the tag file and replaces it in
    // one step, keeping its mode: the old list stays whole until then.
    return writeTags(path, tags) ? 0 : frame::kCannotOpenOutput;
}

}  // namespace tessel::markup
