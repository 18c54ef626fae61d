// A converter's source in UTF-16 (it starts with the byte-order mark FF FE
// or FE FF) is parsed through a UTF-8 copy beside it, removed with this
// object. The copy starts with the mark as the two private characters that
// stand for its bytes (U+F0FF U+F0FE for FF FE), so the mark travels through
// the RTF in the header's protected run and the back-conversion writes the
// file in UTF-16 again. A UTF-16 source without a mark (a NUL beside its
// first '<' or '#') is copied without one; its header's "<e8>" has the
// back-conversion write UTF-16 again.
#pragma once

#include <cstddef>
#include <string>

namespace tessel::dtp {

class Utf16SourceCopy {
  public:
    explicit Utf16SourceCopy(const std::string& path);
    ~Utf16SourceCopy();
    Utf16SourceCopy(const Utf16SourceCopy&) = delete;
    Utf16SourceCopy& operator=(const Utf16SourceCopy&) = delete;

    // True for a UTF-16 source, whose copy was made.
    bool made() const { return !copy_.empty(); }
    // True when the source is UTF-16 and its copy could not be made.
    bool failed() const { return failed_; }
    // The copy for a UTF-16 source, else the source itself.
    const std::string& pathToRead() const { return made() ? copy_ : path_; }
    // UTF-16 units that paired with none (read as U+FFFD).
    std::size_t unpairedUnits() const { return unpaired_; }

  private:
    std::string path_;
    std::string copy_;
    bool failed_ = false;
    std::size_t unpaired_ = 0;
};

}  // namespace tessel::dtp
