// Scanner input read from a file.
//
// The multibyte kind reads in text mode (CR LF arrives as LF, a Ctrl-Z byte
// ends the data); the other kinds read bytes as they are. With kWholeFile the
// whole file is read at construction and the buffer never moves. With a
// smaller buffer the input refills as the scanner advances, moving the
// current lexeme to the front and, when the lexeme fills the buffer, growing
// it by the increment (SSLex0103e with an increment of 0). The converters use
// (file, Multibyte, kBlock, kBlock): tokens copy their text, so the memory a
// parse takes does not grow with the file.
//
// Errors: a file that cannot be opened throws SSLex0101e (name, errno); an
// empty file or a read error throws SSLex0102e (name, 0 or errno).
#pragma once

#include <cstddef>
#include <limits>
#include <string>

#include "parser/ss_lex_input.h"
#include "platform/streams.h"

namespace tessel::parser {

class SSLexFileInput : public SSLexInput {
  public:
    static constexpr std::size_t kWholeFile = std::numeric_limits<std::size_t>::max();
    static constexpr std::size_t kBlock = 64 * 1024;

    explicit SSLexFileInput(const std::string& fileName, Kind kind = Multibyte,
                            std::size_t bufferSize = kWholeFile, std::size_t increment = 0);

    const std::string& fileName() const { return fileName_; }

  protected:
    std::size_t refill() override;

  private:
    std::size_t readInto(std::size_t from, std::size_t count);
    void closeWhenDrained();

    std::string fileName_;
    platform::InputStream stream_;
};

}  // namespace tessel::parser
