// The round trip through XLIFF: the source extracted in a scratch folder,
// every unit given its source as target, merged back and compared with the
// source under the format's rules, as the round trip through RTF is.
#include <filesystem>
#include <system_error>

#include "core/xliff_jobs.h"
#include "platform/path_names.h"
#include "verify/marked_up_copy.h"
#include "verify/text_encoding.h"

namespace tessel::app {

namespace fs = std::filesystem;

verify::RoundTripResult roundTripViaXliff(const std::string& path,
                                          const verify::RoundTripFormat& format,
                                          const std::string& tagFile) {
    verify::RoundTripResult result;
    result.file = path;
    result.format = &format;
    result.failed = true;
    std::string source;
    verify::ScratchFolder scratch("tessel-xliff-roundtrip-");
    if (scratch.path().empty() || !verify::readWholeFile(platform::pathOf(path), source)) {
        result.markUpResult = -101;
        return result;
    }
    const fs::path name = platform::pathOf(path).filename();
    const std::string copy = platform::nameOf(scratch.path() / name);
    std::error_code error;
    fs::copy_file(platform::pathOf(path), platform::pathOf(copy), error);
    if (error) {
        result.markUpResult = -101;
        return result;
    }
    const std::string xlf = platform::nameOf(platform::pathOf(copy).replace_extension(".xlf"));
    result.markUpResult = extractXliff(XliffJob{format.name, copy, copy, tagFile});
    std::string document;
    xliff::XliffFile parsed;
    std::string problem;
    if (!fs::exists(platform::pathOf(xlf), error) ||
        !verify::readWholeFile(platform::pathOf(xlf), document)) {
        result.failureMessage =
            verify::firstLogMessage(scratch.path(), platform::nameOf(name.stem()));
        return result;
    }
    if (!xliff::readXliff(document, parsed, problem)) {
        result.failureMessage = "the XLIFF written cannot be read: " + problem;
        return result;
    }
    for (xliff::XliffUnit& unit : parsed.units) {
        unit.target = unit.source;
        unit.hasTarget = true;
        unit.state = "translated";
    }
    // The merged file goes into a folder of its own, beside no original.
    const fs::path back = scratch.path() / "back";
    fs::create_directory(back, error);
    const std::string merged = platform::nameOf(back / platform::pathOf(xlf).filename());
    result.backResult = mergeXliffFile(XliffJob{format.name, merged, copy, tagFile}, parsed);
    std::string output;
    const fs::path written =
        back / platform::pathOf(platform::nameOf(name.stem()) + mergedExtension(format.name));
    if (!verify::readWholeFile(written, output)) {
        result.failureMessage = verify::firstLogMessage(back, platform::nameOf(name.stem()));
        return result;
    }
    result.failed = false;
    result.identical = source == output;
    if (!result.identical) {
        result.differences = verify::compareRoundTrip(verify::comparableText(source),
                                                      verify::comparableText(output), format.rules);
        for (verify::Difference& difference : result.differences) difference.file = path;
    }
    return result;
}

}  // namespace tessel::app
