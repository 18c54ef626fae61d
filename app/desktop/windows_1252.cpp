#include "windows_1252.h"

#include <array>

namespace tessel::desktop {

namespace {

// 0x80 to 0x9F; 0 where the code page defines no character (the byte is
// then read as the control character of the same value, as Latin-1 does).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

QChar fromByte(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0) {
        return QChar(kHighControls[byte - 0x80]);
    }
    return QChar(byte);
}

}  // namespace

QString fromWindows1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char byte : bytes) text.append(fromByte(static_cast<unsigned char>(byte)));
    return text;
}

std::optional<char> toWindows1252(QChar c) {
    char16_t unicode = c.unicode();
    if (unicode < 0x80 || (unicode >= 0xA0 && unicode <= 0xFF)) return static_cast<char>(unicode);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unicode) return static_cast<char>(0x80 + i);
    }
    if (unicode >= 0x80 && unicode <= 0x9F && kHighControls[unicode - 0x80] == 0) {
        return static_cast<char>(unicode);
    }
    return std::nullopt;
}

QByteArray toWindows1252(const QString& text, char replacement) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) bytes.append(toWindows1252(c).value_or(replacement));
    return bytes;
}

}  // namespace tessel::desktop
