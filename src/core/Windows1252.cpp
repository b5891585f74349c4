#include "core/Windows1252.h"

#include <array>

namespace Windows1252 {

namespace {
// The characters of bytes 0x80 to 0x9F; from 0xA0 on the bytes are Latin-1.
// The five bytes Windows-1252 leaves undefined decode to the C1 control of the
// same value and are encoded back to it, so every byte survives a round trip.
// The table is the program's own: Qt's converters know this code page only
// where Qt is built with ICU, which its Windows build is not.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar decoded(uchar byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(HighControls[byte - 0x80]);
    return QChar(byte);
}

std::optional<char> encoded(QChar ch) {
    const char16_t unit = ch.unicode();
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (size_t at = 0; at < HighControls.size(); ++at) {
        if (HighControls[at] == unit)
            return static_cast<char>(0x80 + at);
    }
    return std::nullopt;
}
} // namespace

QString decode(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes)
        text += decoded(static_cast<uchar>(c));
    return text;
}

std::optional<QByteArray> encode(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        const std::optional<char> byte = encoded(ch);
        if (!byte)
            return std::nullopt;
        bytes += *byte;
    }
    return bytes;
}

QString firstUnencodable(const QString& text) {
    for (const QChar ch : text) {
        if (!encoded(ch))
            return QString(ch);
    }
    return {};
}

} // namespace Windows1252
