#include "frame/line_reader.h"

namespace tessel::frame {

bool LineReader::readChunk(std::string& chunk) {
    chunk.clear();
    while (chunk.size() < kChunkLimit) {
        // A run ends at a line end, at the limit or where the stream's buffer
        // does. A line end read as a line feed comes with the run; get()
        // takes any other next byte.
        if (input_.appendPlainLine(chunk, kChunkLimit - chunk.size())) {
            input_.skipIf('\r');
            return true;
        }
        if (chunk.size() == kChunkLimit) break;
        int c = input_.get();
        if (c < 0) return false;
        if (c == '\n') {
            input_.skipIf('\r');
            chunk += '\n';
            return true;
        }
        if (c == '\r') {
            chunk += '\n';
            return true;
        }
        chunk += static_cast<char>(c);
    }
    return true;
}

}  // namespace tessel::frame
