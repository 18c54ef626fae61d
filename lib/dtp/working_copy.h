// The copy of a tagged-text file with PC line ends (CR LF) that the PageMaker
// and QuarkXPress converters parse: made by the line engine beside the input
// (base name with ".tmp") and removed when the job leaves, whichever way it
// leaves. A file that already had the copy's name is never read, changed or
// removed: the copy is refused (-115) and this object leaves it alone.
#pragma once

#include <string>

namespace tessel::dtp {

class WorkingCopy {
  public:
    explicit WorkingCopy(const std::string& path) : WorkingCopy(path, path) {}
    // The copy named after `path`, made from the text of `readFrom` (a UTF-8
    // copy of a UTF-16 source).
    WorkingCopy(const std::string& path, const std::string& readFrom);
    ~WorkingCopy();
    WorkingCopy(const WorkingCopy&) = delete;
    WorkingCopy& operator=(const WorkingCopy&) = delete;

    // The line engine's result: the line count, or its failure code (then
    // there is no copy of this job's making).
    int result() const { return result_; }
    bool made() const { return result_ >= 0; }
    const std::string& name() const { return name_; }

  private:
    int makeCopy(const std::string& path, const std::string& readFrom);

    std::string name_;
    int result_;
    bool own_ = false;
};

// 0 when a converter may mark up `path`: the name fits the library's name
// buffers and names an existing regular file (-101 otherwise), and the converter's
// log (".err") would not be the input itself (-904).
int checkConverterInput(const std::string& path);

// True when the converter's log beside `path` would be `path` itself, so
// that opening the log would truncate the input.
bool logWouldBeInput(const std::string& path);

}  // namespace tessel::dtp
