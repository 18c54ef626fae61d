#include "frame/buffered_lines.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_scan.h"

namespace tessel::frame {

namespace {

// Bytes of the line end at `end` (a CR or LF of `bytes`) as the engine's
// reader takes them: CR LF or LF, and a lone CR right after them, or a lone
// CR by itself. 0 when `bytes` ends before that can be told.
std::size_t lineEndLength(std::string_view bytes, std::size_t end) {
    std::size_t length = 1;
    if (bytes[end] == '\r') {
        if (end + 1 >= bytes.size()) return 0;
        if (bytes[end + 1] != '\n') return 1;
        length = 2;
    }
    // After a line feed the reader takes a CR that does not begin a CR LF.
    const std::size_t next = end + length;
    if (next >= bytes.size()) return 0;
    if (bytes[next] != '\r') return length;
    if (next + 1 >= bytes.size()) return 0;
    return bytes[next + 1] == '\n' ? length : length + 1;
}

}  // namespace

BufferedLines convertBufferedLines(std::string_view buffered, const CaretTable* table,
                                   std::string_view lineEnd, std::string& out) {
    BufferedLines taken;
    if (table != nullptr && (!table->keeps('\r') || !table->keeps('\n'))) return taken;
    const std::size_t size = buffered.size();
    // A line and its end of at least one byte are written in at most as
    // many bytes again for each byte of the new line end: a lone CR becomes
    // CR LF.
    const std::size_t room = size * std::max<std::size_t>(lineEnd.size(), 1);
    if (out.size() < room) out.resize(room);
    const char* data = buffered.data();
    char* write = out.data();
    BufferedLines complete;  // up to the end of the last line read whole
    for (std::size_t at = 0, written = 0;;) {
        const std::size_t end = at + platform::findLineEnd(data + at, size - at, false);
        if (end == size) break;
        const std::size_t ending = lineEndLength(buffered, end);
        if (ending == 0) break;
        if (table == nullptr) {
            std::memcpy(write + written, data + at, end - at);
        } else if (table->convert(data + at, end - at, write + written)) {
            break;
        }
        written += end - at;
        std::memcpy(write + written, lineEnd.data(), lineEnd.size());
        written += lineEnd.size();
        at = end + ending;
        taken = complete;
        complete = {at, written, complete.lines + 1};
    }
    return taken;
}

}  // namespace tessel::frame
