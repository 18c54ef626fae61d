// Text that shows UTF-8 read as Windows 1252: each byte of a character's
// UTF-8 taken for the Windows 1252 character of that byte, so that "é"
// shows as "Ã©" and "’" as "â€™". Only the whole byte pattern of a valid
// multi-byte sequence counts: a lead byte from 0xC2 to 0xF4 followed by as
// many continuation bytes (0x80 to 0xBF) as it asks for, so that words with
// these letters ("São", "Ãgua") are not taken for it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::verify {

struct MisreadUtf8 {
    std::size_t begin = 0;  // bytes of the UTF-8 text
    std::size_t end = 0;
    std::string meant;  // the characters the bytes stand for, as UTF-8
};

// The stretches of `text` (UTF-8) that read as UTF-8 taken for Windows 1252;
// adjacent sequences are one stretch.
std::vector<MisreadUtf8> findMisreadUtf8(std::string_view text);

}  // namespace tessel::verify
