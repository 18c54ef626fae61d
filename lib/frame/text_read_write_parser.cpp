#include "frame/text_read_write_parser.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>

#include "frame/buffered_lines.h"
#include "frame/caret_table.h"
#include "frame/error_log.h"
#include "frame/execute_function.h"
#include "frame/job_names.h"
#include "frame/job_state.h"
#include "frame/line_reader.h"
#include "frame/return_codes.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "resources/log_texts.h"

namespace tessel::frame {

namespace {

int failureOr(int result, int code) {
    return result < 0 ? result : code;
}

using platform::InputStream;
using platform::OutputStream;
using platform::StreamMode;

// Line ends as the output file has them: Macintosh line ends for the ANSI
// to Macintosh pass, PC line ends (text mode) for every other.
bool writesMacintoshLineEnds(const LineOperation& operation) {
    return operation.code == kAnsiToMac;
}

// Writes the holder, which is not used again.
void writeHolder(OutputStream& output, std::string& holder, const LineOperation& operation) {
    // Every line feed goes out as a lone carriage return.
    if (writesMacintoshLineEnds(operation)) {
        std::replace(holder.begin(), holder.end(), '\n', '\r');
    }
    output.write(holder);
}

// Transforms a complete holder, reports the result and writes the holder
// unless the report ends the job. Returns 0 or the failure code.
int processHolder(std::string& holder, OutputStream& output, ErrorLog& log,
                  const LineOperation& operation, int& changeCount) {
    // Transform first: the report quotes the transformed holder, which the
    // transformation may have moved to a new buffer.
    int transformed = operation.function(holder, operation.code);
    int result = log.report(transformed, changeCount, holder);
    if (result < 0) return result;
    writeHolder(output, holder, operation);
    return 0;
}

// The passes whose lines the engine takes from its buffer in one go: each
// line's bytes through a character-set table (none for 613, which keeps
// them) and its line end in the output's form, and as many changes a line as
// the pass counts.
bool takesBufferedLines(const LineOperation& operation) {
    return operation.wholeBufferedLines &&
           (operation.code == kMacToAnsi || operation.code == kAnsiToMac ||
            operation.code == kLineBreaksToPc);
}
int changesPerLine(const LineOperation& operation) {
    return operation.code == kLineBreaksToPc ? 1 : 0;
}

// Converts the lines that lie whole in the input's buffer in one go, when
// the held line is complete (or there is none): it is processed first, as
// they follow it. Returns 0 or the failure code of processing the held line.
int convertLinesInBuffer(InputStream& input, OutputStream& output, ErrorLog& log,
                         const LineOperation& operation, int& changeCount, std::string& holder,
                         std::string& converted) {
    if (!holder.empty() && holder.back() != '\n') return 0;
    std::size_t readable = 0;
    std::optional<std::string_view> start = input.peekBuffered(0, readable);
    if (!start) return 0;
    const std::string_view lineEnd = writesMacintoshLineEnds(operation) ? "\r" : "\r\n";
    const BufferedLines lines =
        frame::convertBufferedLines(std::string_view(start->data(), readable),
                                    characterSetTable(operation.code), lineEnd, converted);
    if (lines.inputBytes == 0) return 0;
    if (!holder.empty()) {
        if (int result = processHolder(holder, output, log, operation, changeCount)) return result;
        holder.clear();
    }
    output.writeUntranslated(std::string_view(converted.data(), lines.outputBytes));
    input.skipBuffered(lines.inputBytes);
    changeCount += static_cast<int>(lines.lines) * changesPerLine(operation);
    return 0;
}

// Runs the line loop; returns 0 or a failure code. A last line without a line
// end is processed together with the line before it.
int runLineLoop(InputStream& input, OutputStream& output, ErrorLog& log,
                const LineOperation& operation, int& changeCount) {
    LineReader reader(input);
    std::string holder;
    std::string chunk;
    std::string converted;
    holder.reserve(8193);
    for (;;) {
        if (takesBufferedLines(operation)) {
            if (int result = convertLinesInBuffer(input, output, log, operation, changeCount,
                                                  holder, converted)) {
                return result;
            }
        }
        bool more = reader.readChunk(chunk);
        if (!more) {
            holder += chunk;
            return processHolder(holder, output, log, operation, changeCount);
        }
        if (!holder.empty() && holder.back() == '\n') {
            if (int result = processHolder(holder, output, log, operation, changeCount)) {
                return result;
            }
            holder.swap(chunk);
        } else {
            holder += chunk;
        }
    }
}

// Forms the names; fills `files` and returns 0 or a failure code.
int formNames(char* path, const char* extension, LineJobFiles& files) {
    files.original = path;
    // Only a regular file is an input: the in-place mode renames it before
    // it is read, and a FIFO or device would never deliver its end.
    if (!fitsPathBuffer(files.original) || !platform::isRegularFile(files.original)) {
        return kCannotOpenInput;
    }
    files.log = platform::withExtension(files.original, kLogExtension);
    files.inPlace = extension == nullptr || *extension == '\0';
    if (files.inPlace) {
        files.output = files.original;
        if (platform::sameNameIgnoringCase(files.original, files.log)) return kSameInputAndOutput;
        // A link is never replaced by a converted file, and its target is
        // not rewritten behind the user's back in a folder not named: the
        // job is refused before anything is renamed.
        if (platform::unusableFinalName(files.original) == ELOOP) return kCannotRenameInput;
        return 0;
    }
    files.input = files.original;
    files.output = platform::withExtension(files.original, extension);
    if (!fitsPathBuffer(files.output) || !fitsPathBuffer(files.log)) return kCannotOpenOutput;
    std::memcpy(path, files.output.c_str(), files.output.size() + 1);
    return checkOutputNames(files.input, files.output, files.log, kOutputExists);
}

// Undoes the output of a job that failed, or whose output on disk is not the
// complete file it wrote (something deleted, truncated or replaced it while
// the job ran): only this job's own file is removed, and the original gets
// its name back. Returns `failure`, or the code of what could not be undone.
int undoOutput(const LineJobFiles& files, const OutputStream& output, int failure) {
    if (platform::fileExists(files.output) && !output.isSameFile(files.output)) {
        // Somebody else's file has the name now: it and the backup stay.
        return files.inPlace ? kCannotDeleteFaulty : failure;
    }
    if (!platform::removeIfPresent(files.output)) return kCannotDeleteFaulty;
    if (files.inPlace &&
        platform::renameFile(files.input, files.original) != platform::RenameResult::Ok) {
        return kCannotRenameBack;
    }
    return failure;
}

// Undoes an in-place job that could not start: the input gets its name back.
void restoreOriginal(const LineJobFiles& files) {
    if (files.inPlace) platform::renameFile(files.input, files.original);
}

int runJob(char* path, const LineOperation& operation, bool deleteBackup, const char* extension) {
    if (operation.code == kKelmoToRtf) return kInvalidFunction;
    jobState().reset();
    if (path == nullptr) return kCannotOpenInput;

    LineJobFiles files;
    if (int code = formNames(path, extension, files); code != 0) return code;
    if (files.inPlace) {
        if (int code = renameToBackup(files.original, files.input); code != 0) return code;
    }
    return runLineJob(files, operation, deleteBackup);
}

}  // namespace

int runLineJob(const LineJobFiles& files, const LineOperation& operation, bool deleteBackup) {
    JobState& state = jobState();
    InputStream input;
    OutputStream output;
    ErrorLog ownLog;
    // A pass run by another job writes into that job's log; the log's
    // header, summary and deletion are then that job's business.
    ErrorLog& log = files.sharedLog != nullptr ? *files.sharedLog : ownLog;
    bool ownsLog = files.sharedLog == nullptr;
    if (!input.open(files.input, StreamMode::Text)) {
        restoreOriginal(files);
        return kCannotOpenInput;
    }
    if (!output.open(files.output, StreamMode::Text, platform::ExistingName::Refuse)) {
        input.close();
        restoreOriginal(files);
        return kCannotOpenOutput;
    }
    // The rewritten file keeps who may read and run it.
    if (files.inPlace) output.keepAttributesOf(files.input);
    output.dropOnWriteFailure();
    if (ownsLog && !log.open(files.log)) {
        input.close();
        output.discard();
        restoreOriginal(files);
        return kCannotOpenOutput;
    }

    if (ownsLog) log.writeHeader(resources::kTextParserTitle, files.original, operation.code);
    int changeCount = 0;
    int loopResult = 0;
    try {
        loopResult = runLineLoop(input, output, log, operation, changeCount);
    } catch (const std::bad_alloc&) {
        state.keepOriginal = true;
        loopResult = kOutOfMemory;
    }

    if (ownsLog) {
        log.writeSummary(operation.code, changeCount, files.inPlace ? files.input : files.original);
    }
    input.close();
    // A write error (a full disk) must not pass as a converted file, and the
    // backup goes only once the complete output is on disk.
    bool closed = output.close();
    if (ownsLog) log.close();
    // A log that holds nothing (the disk was full) is not kept or pointed to.
    // Messages that could not be written leave the job failed, not converted:
    // it is undone like any other failure, before a backup could go.
    bool logLost = ownsLog && platform::removeIfEmpty(files.log);
    bool messagesLost = logLost && state.messagesWritten;
    int result = changeCount;
    if (loopResult < 0 || !closed || !output.wroteCompletely(files.output) || messagesLost) {
        result = undoOutput(files, output, loopResult < 0 ? loopResult : kCannotOpenOutput);
    } else if (files.inPlace && deleteBackup && !state.keepOriginal) {
        if (!platform::removeFile(files.input)) result = kOldFileNotDeleted;
    }

    if (state.messagesWritten) return logLost ? failureOr(result, kCannotOpenOutput) : kErrorsInLog;
    if (ownsLog && !logLost && !platform::removeIfPresent(files.log)) return kEmptyLogNotDeleted;
    return result;
}

int runTextReadWriteParser(char* path, const LineOperation& operation, bool deleteBackup,
                           const char* extension) {
    try {
        return runJob(path, operation, deleteBackup, extension);
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

}  // namespace tessel::frame
