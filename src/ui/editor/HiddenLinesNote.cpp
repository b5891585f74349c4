#include "ui/editor/HiddenLinesNote.h"

#include "core/Windows1252.h"

#include <QStringList>
#include <QTextDocument>

namespace HiddenLinesNote {

QString text(const EditorText& read) {
    if (read.hiddenCount == 0)
        return {};
    if (read.hiddenCount == 1)
        return QStringLiteral("1 riga del file non mostrata: Salva non la riscrive");
    return QStringLiteral("%1 righe del file non mostrate: Salva non le riscrive")
        .arg(read.hiddenCount);
}

QString tip(const EditorText& read) {
    if (read.hiddenCount == 0)
        return {};
    QStringList lines{QStringLiteral("Righe del file che l'editor non mostra:")};
    for (const EditorText::HiddenLine& line : read.hiddenLines)
        lines += QStringLiteral("riga %1: %2")
                     .arg(line.number)
                     .arg(line.text.isEmpty() ? QStringLiteral("(vuota)")
                                              : Windows1252::decode(line.text));
    if (const int more = read.hiddenCount - int(read.hiddenLines.size()); more > 0)
        lines += more == 1 ? QStringLiteral("… e un'altra riga")
                           : QStringLiteral("… e altre %1 righe").arg(more);
    // Kept as written: spaces stay, and no line is taken for markup.
    return Qt::convertFromPlainText(lines.join(u'\n'), Qt::WhiteSpaceNoWrap);
}

} // namespace HiddenLinesNote
