#include "files/LocalFileName.h"

#include "core/Windows1252.h"

#include <QDir>

namespace {

constexpr char16_t FirstKeptByte = 0xDC80;
constexpr char16_t LastKeptByte = 0xDCFF;

// Length of the valid UTF-8 sequence that starts at bytes[at], 0 if none does.
int validSequence(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return uchar(bytes.at(i)); };
    const uchar lead = byte(at);
    if (lead < 0x80)
        return 1;
    int length = 0;
    uchar low = 0x80, high = 0xBF;      // the second byte's range, which rules out
    if (lead >= 0xC2 && lead <= 0xDF) { // overlong forms, surrogates and
        length = 2;                     // code points beyond U+10FFFF
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

bool isKeptByte(const QString& text, qsizetype at) {
    const char16_t unit = text.at(at).unicode();
    return unit >= FirstKeptByte && unit <= LastKeptByte &&
           (at == 0 || !text.at(at - 1).isHighSurrogate());
}

} // namespace

namespace LocalFileName {

QString decode(const QByteArray& bytes) {
    QString name;
    name.reserve(bytes.size());
    // Each run of valid UTF-8 is decoded at once: a folder's names are read
    // at every change in it, and most are valid from end to end.
    qsizetype runStart = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const int length = validSequence(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + runStart, at - runStart);
        name += QChar(char16_t(0xDC00 | uchar(bytes.at(at))));
        runStart = ++at;
    }
    name += QString::fromUtf8(bytes.constData() + runStart, at - runStart);
    return name;
}

QByteArray encode(const QString& path) {
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < path.size(); ++at) {
        if (!isKeptByte(path, at))
            continue;
        bytes += QStringView(path).mid(runStart, at - runStart).toUtf8();
        bytes += char(path.at(at).unicode() & 0xFF);
        runStart = at + 1;
    }
    bytes += QStringView(path).mid(runStart).toUtf8();
    return bytes;
}

QString readable(const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    for (qsizetype at = 0; at < shown.size(); ++at)
        if (isKeptByte(shown, at))
            shown[at] =
                Windows1252::decode(QByteArray(1, char(shown.at(at).unicode() & 0xFF))).at(0);
    return shown;
}

bool qtCanName(const QString& path) {
    return encode(path) == QFile::encodeName(path);
}

} // namespace LocalFileName
