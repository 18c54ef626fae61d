#include "dtp/rc_file.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "dtp/converter_log.h"
#include "platform/byte_scan.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "resources/markup_framework_texts.h"

namespace tessel::dtp {

namespace {

constexpr std::size_t kTextStep = 49152;
constexpr std::size_t kTextMargin = 200;

std::string systemDescription(int error) {
    return std::strerror(error != 0 ? error : EIO);
}

std::string number(std::uint32_t value) {
    return std::to_string(value);
}

void report(std::string_view format, std::initializer_list<std::string_view> args, int type) {
    reportMessage(platform::fillPlaceholders(format, args), type);
}

std::string folderOf(const std::string& name) {
    platform::PathParts parts = platform::splitPath(name);
    return parts.drive + parts.directory;
}

}  // namespace

void reserveTextRoom(std::string& text, std::size_t adding) {
    std::size_t needed = text.size() + adding + kTextMargin;
    if (needed <= text.capacity()) return;
    // Steps of 49152 bytes at first, then in proportion to the size, so that a
    // file without tags is not copied once per step.
    std::size_t step = std::max(kTextStep, text.capacity());
    text.reserve(std::max(needed, text.capacity() + step));
}

void CRCFile::open(const std::string& name, Direction direction, bool textMode) {
    fileName_ = name;
    direction_ = direction;
    line_ = 1;
    column_ = 1;
    if (direction == Direction::Input) {
        errno = 0;
        if (!input_.open(name, platform::StreamMode::Text)) {
            std::string description = systemDescription(errno);
            report(resources::kCannotOpenInputFile, {name, description}, kMessageFile);
            throw CFileException(CFileException::kCannotOpen, description);
        }
        return;
    }
    // A bare name has no folder part, so there is nothing to create.
    errno = 0;
    if (!platform::createParentDirectories(name)) {
        std::string description = systemDescription(errno);
        report(resources::kCannotCreateFolder, {description, folderOf(name)}, kMessageFile);
        throw CFileException(CFileException::kBadPath, description);
    }
    errno = 0;
    auto mode = textMode ? platform::StreamMode::Text : platform::StreamMode::Binary;
    if (!output_.open(name, mode)) {
        std::string description = systemDescription(errno);
        report(resources::kCannotOpenOutputFile, {name, description}, kMessageFile);
        throw CFileException(CFileException::kCannotOpen, description);
    }
}

bool CRCFile::close() {
    input_.close();
    return output_.close();
}

bool CRCFile::readError() {
    report(resources::kFileReadError, {systemDescription(EIO)}, kMessageFile);
    return false;
}

void CRCFile::consumeLineEnd(int first) {
    // A carriage return ends a line together with the line feed after it.
    if (first != '\r') return;
    int next = input_.get();
    if (next != '\n' && next >= 0) input_.unget(next);
}

CRCFile::LineEnd CRCFile::appendLine(std::string& out) {
    for (;;) {
        reserveTextRoom(out, platform::kStreamBufferSize);
        input_.appendPlainRun(out, platform::kStreamBufferSize);
        int c = input_.get();
        if (c < 0) return input_.failed() ? LineEnd::ReadError : LineEnd::EndOfFile;
        if (endsLine(c)) {
            consumeLineEnd(c);
            out += '\n';
            ++line_;
            column_ = 1;
            return LineEnd::Reached;
        }
        // A byte the plain run stops at without a line end (Ctrl-Z, or a
        // lone carriage return that ends no line).
        out += static_cast<char>(c);
    }
}

bool CRCFile::readToLine(std::string& out, std::uint32_t line) {
    if (line < line_) {
        report(resources::kLineAlreadyRead, {number(line), number(line_)}, kMessageLineColumn);
        return false;
    }
    while (line_ < line) {
        // The lines that lie whole in the input's buffer are taken together;
        // the others, line by line.
        if (std::size_t taken = input_.appendBufferedLines(out, line - line_)) {
            line_ += static_cast<std::uint32_t>(taken);
            column_ = 1;
            continue;
        }
        LineEnd end = appendLine(out);
        if (end == LineEnd::ReadError) return readError();
        if (end == LineEnd::EndOfFile) {
            report(resources::kFileHasTooFewLines, {fileName_, number(line)}, kMessageLineColumn);
            return false;
        }
    }
    return true;
}

bool CRCFile::readToColumn(std::string& out, std::uint32_t column) {
    if (column < column_) {
        report(resources::kCharacterAlreadyRead, {number(column), number(line_), number(column_)},
               kMessageLineColumn);
        return false;
    }
    std::size_t wanted = column - column_;
    std::size_t got = 0;
    while (got < wanted) {
        reserveTextRoom(out, wanted - got);
        got += input_.appendPlainRun(out, wanted - got);
        if (got == wanted) break;
        int c = input_.get();
        if (c < 0 && input_.failed()) return readError();
        if (c < 0 && got == 0) {
            report(resources::kLineTooShortAtEnd, {fileName_, number(line_), number(column)},
                   kMessageLineColumn);
            return false;
        }
        if (c < 0 || endsLine(c)) {
            if (c >= 0) consumeLineEnd(c);
            report(resources::kLineTooShort, {number(line_), number(column)}, kMessageLineColumn);
            ++line_;
            column_ = 1;
            return false;
        }
        out += static_cast<char>(c);
        ++got;
    }
    column_ = column;
    return true;
}

std::optional<std::string_view> CRCFile::takeOnCurrentLine(std::uint32_t line,
                                                           std::uint32_t column) {
    // Most positions are a few bytes further on the current line, with the
    // bytes up to them in the stream's buffer: taken in one step, uncopied.
    if (direction_ != Direction::Input || !input_.isOpen() || line != line_ || column < column_) {
        return std::nullopt;
    }
    std::optional<std::string_view> run = input_.takeBufferedPlain(column - column_);
    if (run) column_ = column;
    return run;
}

std::optional<CRCFile::Ahead> CRCFile::peekAhead(std::uint32_t line, std::uint32_t column) const {
    if (direction_ != Direction::Input || !input_.isOpen() || line < line_ ||
        (line == line_ && column < column_)) {
        return std::nullopt;
    }
    std::size_t readable = 0;
    std::optional<std::string_view> start = input_.peekBuffered(0, readable);
    if (!start || readable == 0) return std::nullopt;
    Ahead ahead;
    ahead.bytes = std::string_view(start->data(), readable);
    ahead.lineEnds = line - line_;
    if (ahead.lineEnds == 0) ahead.size = column - column_;
    return ahead;
}

void CRCFile::skipAhead(std::size_t count, std::uint32_t line, std::uint32_t column) {
    input_.skipBuffered(count);
    line_ = line;
    column_ = column;
}

std::optional<std::size_t> CRCFile::lengthToColumn(std::string_view bytes, std::uint32_t lineEnds,
                                                   std::uint32_t column) {
    std::size_t at = 0;
    for (; lineEnds > 0; --lineEnds) {
        at += platform::findLineEnd(bytes.data() + at, bytes.size() - at, true);
        if (bytes.substr(at, 2) == "\r\n") {
            at += 2;
        } else if (bytes.substr(at, 1) == "\n") {
            at += 1;
        } else {
            return std::nullopt;
        }
    }
    if (column == 0 || bytes.size() - at < column - 1) return std::nullopt;
    const std::size_t size = at + column - 1;
    if (holdsLineEnd(bytes.substr(at, column - 1))) return std::nullopt;
    return size;
}

bool CRCFile::holdsLineEnd(std::string_view text) {
    return platform::findLineEnd(text.data(), text.size(), true) != text.size();
}

bool CRCFile::viewTo(std::string_view& text, std::string& storage, std::uint32_t line,
                     std::uint32_t column) {
    text = {};
    storage.clear();
    if (std::optional<std::string_view> run = takeOnCurrentLine(line, column)) {
        text = *run;
        return true;
    }
    if (direction_ != Direction::Input || !input_.isOpen()) return false;
    if (!readToLine(storage, line) || !readToColumn(storage, column)) return false;
    text = storage;
    return true;
}

bool CRCFile::readTo(std::string& out, std::uint32_t line, std::uint32_t column) {
    std::string_view text;
    if (!viewTo(text, out, line, column)) return false;
    if (text.data() != out.data()) out.assign(text);
    return true;
}

bool CRCFile::readRest(std::string& out, std::size_t limit, bool* atEnd) {
    out.clear();
    if (atEnd != nullptr) *atEnd = true;
    if (direction_ != Direction::Input || !input_.isOpen()) return false;
    while (out.size() < limit) {
        LineEnd end = appendLine(out);
        if (end == LineEnd::ReadError) return readError();
        if (end == LineEnd::EndOfFile) return true;
    }
    if (atEnd != nullptr) *atEnd = false;
    return true;
}

}  // namespace tessel::dtp
