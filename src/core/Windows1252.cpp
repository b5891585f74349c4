#include "core/Windows1252.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Windows1252 {

namespace {
// The five bytes Windows-1252 leaves undefined decode to the C1 control of the
// same value and are encoded back to it, so every byte survives a round trip.
bool isUndefinedByte(uchar byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}
} // namespace

QString decode(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1252");
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const uchar byte = static_cast<uchar>(c);
        if (isUndefinedByte(byte))
            text += QChar(byte);
        else
            text += decoder.decode(QByteArrayView(&c, 1));
    }
    return text;
}

std::optional<QByteArray> encode(const QString& text) {
    QStringEncoder encoder("windows-1252");
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            bytes += static_cast<char>(ch.unicode());
            continue;
        }
        if (ch.unicode() <= 0xFF && isUndefinedByte(static_cast<uchar>(ch.unicode()))) {
            bytes += static_cast<char>(ch.unicode());
            continue;
        }
        const QByteArray one = encoder.encode(QStringView(&ch, 1));
        if (encoder.hasError() || one.size() != 1 || decode(one) != QString(ch))
            return std::nullopt;
        bytes += one;
    }
    return bytes;
}

QString firstUnencodable(const QString& text) {
    for (const QChar ch : text) {
        if (!encode(QString(ch)))
            return QString(ch);
    }
    return {};
}

} // namespace Windows1252
