#include "ui/editor/EditorLine.h"

#include "core/Windows1252.h"

namespace {

std::optional<char> savedByte(QChar c) {
    if (c.unicode() < 0x80)
        return char(c.unicode());
    const auto encoded = Windows1252::encode(QString(c));
    if (!encoded)
        return std::nullopt;
    return encoded->at(0);
}

} // namespace

QByteArray savedBytes(QStringView text, qsizetype count) {
    const qsizetype size = qMin(count, text.size());
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = savedByte(text.at(i)).value_or('?');
    return bytes;
}

EditorLine judgeEditorLine(QStringView text) {
    EditorLine line;
    line.programming = judgeProgrammingLine(savedBytes(text, RecordLayout::recordLength));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\t' && line.tabColumn < 0 && i < RecordLayout::recordLength)
            line.tabColumn = int(i + 1);
        if (c.unicode() >= 0x80 && line.unsavableColumn < 0 && !savedByte(c))
            line.unsavableColumn = int(i + 1);
    }
    return line;
}
