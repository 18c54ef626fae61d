#include "verify/marked_up_copy.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "platform/path_names.h"
#include "platform/temporary_files.h"
#include "tessel_cat.h"

namespace tessel::verify {

namespace fs = std::filesystem;

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return text;
}

}  // namespace

bool readWholeFile(const fs::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

ScratchFolder::ScratchFolder(std::string_view prefix) {
    path_ = platform::createScratchFolder(prefix);
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
}

fs::path findCaseless(const fs::path& folder, const std::string& stem, std::string_view extension) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const fs::path& name = entry.path();
        if (platform::nameOf(name.stem()) == stem &&
            lowerCase(platform::nameOf(name.extension())) == extension) {
            return name;
        }
    }
    return {};
}

std::string firstLogMessage(const fs::path& folder, const std::string& stem) {
    std::string log;
    fs::path name = findCaseless(folder, stem, ".err");
    if (name.empty() || !readWholeFile(name, log)) return {};
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < log.size();) {
        std::size_t end = std::min(log.find_first_of("\r\n", at), log.size());
        if (end > at) lines.emplace_back(log.data() + at, end - at);
        at = end + 1;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        std::size_t close = line.find(']');
        if (!line.starts_with("[") || close == std::string_view::npos) continue;
        line.remove_prefix(std::min(line.size(), line.find_first_not_of(" \t", close + 1)));
        if (line.empty()) continue;
        std::string message(line);
        if (message.ends_with(":") && i + 1 < lines.size()) {
            message += " " + std::string(lines[i + 1]);
        }
        return message;
    }
    return {};
}

MarkedUpCopy::MarkedUpCopy(const std::string& source, const RoundTripFormat& format,
                           const std::string& tagFile, std::string_view scratchPrefix)
    : scratch_(scratchPrefix) {
    if (scratch_.path().empty()) {
        failure_ = "no scratch folder could be made";
        return;
    }
    fs::path original = fs::path(source).filename();
    stem_ = platform::nameOf(original.stem());
    copy_ = scratch_.path() / original;
    std::error_code error;
    fs::copy_file(source, copy_, error);
    if (error) {
        failure_ = "the source cannot be read: " + source;
        return;
    }
    fs::path tags;
    if (format.tagFile != TagFileUse::None &&
        (!tagFile.empty() || format.tagFile == TagFileUse::Collected)) {
        fs::path folder = scratch_.path() / "tags";
        fs::create_directory(folder, error);
        tags =
            folder / (tagFile.empty() ? fs::path("collected.txt") : fs::path(tagFile).filename());
        if (!tagFile.empty()) fs::copy_file(tagFile, tags, error);
        if (error) {
            failure_ = "the tag file cannot be read: " + tagFile;
            return;
        }
        if (tagFile.empty() && !collectTags(tags)) return;
    }
    result_ = format.markUp(platform::nameOf(copy_).c_str(),
                            tags.empty() ? nullptr : platform::nameOf(tags).c_str());
    rtf_ = findCaseless(scratch_.path(), stem_, ".rtf");
    if (rtf_.empty()) failure_ = firstLogMessage(scratch_.path(), stem_);
}

// A format that needs a tag file and got none collects one from the source.
bool MarkedUpCopy::collectTags(const fs::path& tags) {
    int collected =
        f_iAddUniqueSGMLTagsToFile(platform::nameOf(copy_).c_str(), platform::nameOf(tags).c_str());
    std::error_code error;
    // A file without tags (a prolog of declarations and comments, or plain
    // text) leaves no tag file: the mark-up takes the missing file for an
    // empty list.
    if (collected < 0 && !fs::exists(tags, error)) {
        result_ = collected;
        failure_ = firstLogMessage(scratch_.path(), stem_);
        return false;
    }
    fs::remove(findCaseless(scratch_.path(), stem_, ".err"), error);
    return true;
}

fs::path MarkedUpCopy::log() const {
    if (scratch_.path().empty()) return {};
    return findCaseless(scratch_.path(), stem_, ".err");
}

}  // namespace tessel::verify
