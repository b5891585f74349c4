#include "ui/editor/FieldHighlighter.h"

#include "files/RecordLayout.h"
#include "ui/editor/EditorLine.h"

namespace {

constexpr int addressLength = RecordLayout::addressDigits;
constexpr int recordLength = RecordLayout::recordLength;

} // namespace

FieldHighlighter::FieldHighlighter(QTextDocument* document, const EditorColours& colours)
    : QSyntaxHighlighter(document), m_colours(colours) {}

void FieldHighlighter::setColours(const EditorColours& colours) {
    m_colours = colours;
    rehighlight();
}

void FieldHighlighter::highlightBlock(const QString& text) {
    const EditorLine line = judgeEditorLine(text);
    const int length = int(text.size());
    switch (line.programming.kind) {
    case ProgrammingLineKind::Empty:
        break;
    case ProgrammingLineKind::Terminator:
    case ProgrammingLineKind::Separator:
        setFormat(0, length, m_colours.dimmed);
        break;
    case ProgrammingLineKind::NoAddress:
    case ProgrammingLineKind::AddressTooHigh:
    case ProgrammingLineKind::Message: {
        QTextCharFormat address;
        address.setBackground(m_colours.address);
        setFormat(0, qMin(length, addressLength), address);
        QTextCharFormat field;
        field.setBackground(m_colours.text);
        if (length > addressLength)
            setFormat(addressLength, qMin(length, recordLength) - addressLength, field);
        if (length > recordLength)
            setFormat(recordLength, length - recordLength, m_colours.remark);
        break;
    }
    }
    if (line.unsavableColumn < 0 && line.tabColumn < 0)
        return;
    QTextCharFormat problem;
    problem.setBackground(m_colours.problem);
    problem.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    problem.setUnderlineColor(m_colours.foreground);
    for (int i = 0; i < length; ++i) {
        const QChar c = text.at(i);
        const bool tab = c == u'\t' && i < recordLength;
        if (tab || (c.unicode() >= 0x80 && savedBytes(QStringView(text).mid(i, 1), 1) == "?"))
            setFormat(i, 1, problem);
    }
}
