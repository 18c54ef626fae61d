#include "parser/ss_lex_file_input.h"

#include <cerrno>
#include <filesystem>

#include "parser/ss_exception.h"

namespace tessel::parser {

SSLexFileInput::SSLexFileInput(const std::string& fileName, Kind kind, std::size_t bufferSize,
                               std::size_t increment)
    : SSLexInput(kind, increment), fileName_(fileName) {
    errno = 0;
    auto mode = kind == Multibyte ? platform::StreamMode::Text : platform::StreamMode::Binary;
    if (!stream_.open(fileName_, mode, kind == Multibyte)) {
        long error = errno != 0 ? errno : EIO;
        throw SSException(SSError::LexOpenFile, {fileName_, error});
    }
    std::error_code failure;
    auto length = std::filesystem::file_size(fileName_, failure);
    if (failure || length == 0) {
        stream_.close();
        throw SSException(SSError::LexFileLength, {fileName_, 0L});
    }
    std::size_t size = bufferSize == 0 ? 1 : bufferSize;
    if (size > length) size = static_cast<std::size_t>(length);
    withStorage([&] { buffer().resize(size); });
    setDataEnd(readInto(0, size));
}

std::size_t SSLexFileInput::readInto(std::size_t from, std::size_t count) {
    std::size_t total = 0;
    while (total < count) {
        std::size_t got =
            stream_.read(reinterpret_cast<char*>(buffer().data() + from + total), count - total);
        if (got == 0) break;
        total += got;
    }
    if (stream_.failed()) {
        long error = errno;
        stream_.close();
        throw SSException(SSError::LexFileLength, {fileName_, error});
    }
    closeWhenDrained();
    return total;
}

void SSLexFileInput::closeWhenDrained() {
    if (stream_.isOpen() && stream_.atEnd()) stream_.close();
}

std::size_t SSLexFileInput::refill() {
    if (!stream_.isOpen()) return 0;
    if (!compact()) {
        // The lexeme fills the whole buffer.
        if (increment() == 0) {
            throw SSException(SSError::LexLexemeTooLong, {static_cast<long>(dataEnd())});
        }
        withStorage([&] { buffer().resize(buffer().size() + increment()); });
    }
    std::size_t room = buffer().size() - dataEnd();
    std::size_t added = readInto(dataEnd(), room);
    setDataEnd(dataEnd() + added);
    return added;
}

}  // namespace tessel::parser
